#include "common/random.h"

#include <atomic>
#include <chrono>

namespace lumra {
namespace {

std::atomic<std::uint32_t> state{0};
std::mutex sequenceMutex;

}  // namespace

std::uint32_t RandomSeed() { return state.load(std::memory_order_relaxed); }

void SetRandomSeed(std::uint32_t seed) { state.store(seed, std::memory_order_relaxed); }

std::uint32_t Random(std::uint32_t n) {
  const std::uint32_t s = state.load(std::memory_order_relaxed) * 134775813u + 1u;
  state.store(s, std::memory_order_relaxed);
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(s) * n) >> 32);
}

void RandomizeFromClock() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const auto msOfDay = duration_cast<milliseconds>(now).count() % (24LL * 60 * 60 * 1000);
  SetRandomSeed(static_cast<std::uint32_t>(msOfDay));
}

std::unique_lock<std::mutex> RandomSequenceLock() { return std::unique_lock(sequenceMutex); }

}  // namespace lumra
