#include "tools/lreverb/interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <string>

namespace lumra {
namespace {

// Only what a signal handler may touch: a fixed buffer and a flag that says it is complete.
std::array<char, PATH_MAX + 1> watchedPath{};
volatile sig_atomic_t watching = 0;

constexpr std::array<int, 4> CleanupSignals{SIGINT, SIGTERM, SIGHUP, SIGPIPE};

extern "C" void RemoveAndResignal(int signal) {
  if (watching != 0) ::unlink(watchedPath.data());
  // SA_RESETHAND put the default action back; the signal is blocked until this returns, then it
  // ends the process with the status a caller expects of it.
  ::raise(signal);
}

void InstallHandlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (const int signal : CleanupSignals) {
    struct sigaction previous {};
    if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemoveAndResignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace

void WatchTemporaryFile(const std::filesystem::path& path) {
  InstallHandlers();
  watching = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  const std::string& text = path.native();
  const std::size_t length = std::min(text.size(), watchedPath.size() - 1);
  std::memcpy(watchedPath.data(), text.data(), length);
  watchedPath[length] = '\0';
  std::atomic_signal_fence(std::memory_order_seq_cst);
  watching = length == text.size() ? 1 : 0;
}

void ForgetTemporaryFile() {
  watching = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

}  // namespace lumra
