// Once a block size has been seen, the audio entry points must not allocate: every global
// allocation in this program is counted.

#include <atomic>
#include <cstdlib>
#if defined(_WIN32)
#include <malloc.h>
#endif
#include <new>

#include "plugin_fixture.h"

namespace {

std::atomic<long> allocations{0};

void* AlignedAllocate(std::size_t size, std::size_t alignment) {
#if defined(_WIN32)
  return _aligned_malloc(size, alignment);
#else
  return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
#endif
}

void AlignedFree(void* p) {
#if defined(_WIN32)
  _aligned_free(p);
#else
  std::free(p);
#endif
}

}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, std::align_val_t alignment) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = AlignedAllocate(size == 0 ? 1 : size, static_cast<std::size_t>(alignment))) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) { return operator new(size, alignment); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { AlignedFree(p); }
void operator delete[](void* p, std::align_val_t) noexcept { AlignedFree(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { AlignedFree(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { AlignedFree(p); }

namespace lumra::plugin {
namespace {

using AllocationTest = PluginTest;

TEST_F(AllocationTest, AudioCallsStopAllocatingOnceTheBlockSizeIsKnown) {
  std::vector<float> left = Noise(2048, 1), right = Noise(2048, 2), mono = Noise(2048, 3);
  std::vector<float> interleaved = Noise(4096, 4);
  Show();
  Stereo(left, right, 48000);
  Mono(mono, 48000);
  PostWaveData(interleaved.data(), 48000, 2, 2048);
  PostWaveData(interleaved.data(), 48000, 1, 2048);

  const long before = allocations.load();
  for (int i = 0; i < 50; ++i) {
    const auto n = static_cast<std::int32_t>(64 + (i * 397) % 1985);
    std::array<float*, 2> channels{left.data(), right.data()};
    PostWave(channels.data(), 48000, 2, n);
    PostWave(channels.data(), 48000, 1, n);
    PostWaveData(interleaved.data(), 48000, 2, n);
    PostWaveData(interleaved.data(), 48000, 1, n);
    Clear();
  }
  EXPECT_EQ(allocations.load() - before, 0);
}

// A host automating a knob sends a new block per change: as long as no ring changes length,
// nothing is allocated.
TEST_F(AllocationTest, NewValuesAtTheSameRateAllocateNothing) {
  std::vector<float> left = Noise(512, 1), right = Noise(512, 2);
  Stereo(left, right, 44100);
  ParamBlock block = Block();
  const long before = allocations.load();
  for (int i = 0; i < 20; ++i) {
    block.Values[knob::Color] = static_cast<float>(i) / 19.0f;
    block.Values[knob::WetGain] = static_cast<float>(19 - i) / 19.0f;
    block.Values[knob::ReverbTime] = static_cast<float>(i % 5) / 4.0f;
    Apply(block);
    Stereo(left, right, 44100);
  }
  Apply(block);
  EXPECT_EQ(allocations.load() - before, 0);
}

}  // namespace
}  // namespace lumra::plugin
