#include "test_thread.h"

#include <thread>

namespace lumra::testing {

struct TestThread::Running {
  std::thread thread;
};

TestThread::TestThread(std::function<void()> body)
    : running_(std::make_unique<Running>(Running{std::thread(std::move(body))})) {}

TestThread::~TestThread() { join(); }

void TestThread::join() {
  if (running_->thread.joinable()) running_->thread.join();
}

}  // namespace lumra::testing
