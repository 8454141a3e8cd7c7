#pragma once
// A joinable thread for tests that are built for both platforms. The Windows builds use the
// compiler's win32 thread model, whose standard library has no std::thread.

#include <functional>
#include <memory>

namespace lumra::testing {

class TestThread {
 public:
  // Starts body at once; throws std::runtime_error when no thread can be created.
  explicit TestThread(std::function<void()> body);
  // Joins a thread that was not joined yet.
  ~TestThread();
  TestThread(const TestThread&) = delete;
  TestThread& operator=(const TestThread&) = delete;

  void join();

 private:
  struct Running;
  std::unique_ptr<Running> running_;
};

}  // namespace lumra::testing
