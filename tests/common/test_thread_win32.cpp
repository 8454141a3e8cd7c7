#include "test_thread.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace lumra::testing {

struct TestThread::Running {
  std::function<void()> body;
  HANDLE thread = nullptr;
};

namespace {

DWORD WINAPI RunBody(void* running) {
  static_cast<const std::function<void()>*>(running)->operator()();
  return 0;
}

}  // namespace

TestThread::TestThread(std::function<void()> body)
    : running_(std::make_unique<Running>(Running{std::move(body)})) {
  running_->thread = CreateThread(nullptr, 0, &RunBody, &running_->body, 0, nullptr);
  if (running_->thread == nullptr)
    throw std::runtime_error("CreateThread failed with error " + std::to_string(GetLastError()));
}

TestThread::~TestThread() { join(); }

void TestThread::join() {
  if (running_->thread == nullptr) return;
  WaitForSingleObject(running_->thread, INFINITE);
  CloseHandle(running_->thread);
  running_->thread = nullptr;
}

}  // namespace lumra::testing
