// run() must not allocate, whatever the host does between blocks: every global operator new and
// malloc of this process is counted while the plug-in runs (its C++ runtime calls resolve to the
// replacements here).

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "lilv_host.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void Count() {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

void* operator new(std::size_t size) {
  Count();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  Count();
  const auto a = static_cast<std::size_t>(alignment);
  if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return operator new(size, alignment);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

// The C allocator too, where no sanitizer owns it.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* malloc(std::size_t size) {
  Count();
  return __libc_malloc(size);
}
void* calloc(std::size_t n, std::size_t size) {
  Count();
  return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t size) {
  Count();
  return __libc_realloc(p, size);
}
}
#endif

namespace lumra::lv2 {
namespace {

TEST(Lv2Allocation, RunNeverAllocates) {
  HostedReverb stereo(StereoUri, 96000), mono(MonoUri, 96000);
  constexpr std::size_t Frames = 10000;  // longer than a slice of the plug-in
  std::vector<float> left(Frames, 0.25f), right(Frames, -0.25f), out(Frames);
  for (HostedReverb* reverb : {&stereo, &mono}) {
    // In place for the left channel, separate for the right.
    lilv_instance_connect_port(reverb->Instance(), InputPort(0), left.data());
    lilv_instance_connect_port(reverb->Instance(), OutputPort(reverb->Channels(), 0), left.data());
    if (reverb->Channels() == 2) {
      lilv_instance_connect_port(reverb->Instance(), InputPort(1), right.data());
      lilv_instance_connect_port(reverb->Instance(), OutputPort(2, 1), out.data());
    }
  }
  std::mt19937 gen(8);
  std::uniform_int_distribution<int> pick(0, 2);
  const float extremes[] = {0.0f, 1.0f, 0.37f};
  counting = true;
  for (int block = 0; block < 120; ++block) {
    const auto frames = static_cast<std::uint32_t>(1 + (block * 4999) % Frames);
    for (HostedReverb* reverb : {&stereo, &mono}) {
      // Every knob at an end of its range or between, so every ring reaches its longest length.
      for (int i = 0; i < KnobCount; ++i) reverb->Control(i) = extremes[pick(gen)];
      reverb->Control(port::Power) = block % 17 == 16 ? 0.0f : 1.0f;
      lilv_instance_run(reverb->Instance(), frames);
    }
  }
  counting = false;
  EXPECT_EQ(allocations.load(), 0);
}

}  // namespace
}  // namespace lumra::lv2
