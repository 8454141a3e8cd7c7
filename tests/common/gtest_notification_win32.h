// Read first by GoogleTest and every test on the Windows builds (cmake/Testing.cmake), in place
// of GoogleTest's own, empty customisation header: its guard is that header's. GoogleTest's
// Notification is made of std::mutex and std::condition_variable, which the win32 thread model's
// standard library lacks; this one waits on an atomic flag instead.
#ifndef GOOGLETEST_INCLUDE_GTEST_INTERNAL_CUSTOM_GTEST_PORT_H_
#define GOOGLETEST_INCLUDE_GTEST_INTERNAL_CUSTOM_GTEST_PORT_H_

#include <atomic>
#include <chrono>
#include <thread>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

// Lets a controlling thread hold threads it started back until it notifies them.
class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_.store(true); }

  void WaitForNotification() {
    while (!notified_.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal

#endif  // GOOGLETEST_INCLUDE_GTEST_INTERNAL_CUSTOM_GTEST_PORT_H_
