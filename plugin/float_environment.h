#pragma once
// Hosts may run their threads with flush-to-zero, denormals-are-zero or another rounding mode.
// The effect's arithmetic is defined bit for bit, so every entry point that computes switches
// to the default SSE environment for the call and puts the host's back on return.

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace lumra::plugin {

class FloatEnvironmentGuard {
 public:
#if defined(__SSE2__)
  FloatEnvironmentGuard() : saved_(_mm_getcsr()) { _mm_setcsr(DefaultCsr); }
  ~FloatEnvironmentGuard() { _mm_setcsr(saved_); }
#endif
  FloatEnvironmentGuard(const FloatEnvironmentGuard&) = delete;
  FloatEnvironmentGuard& operator=(const FloatEnvironmentGuard&) = delete;

 private:
#if defined(__SSE2__)
  // All exceptions masked, round to nearest, denormals kept.
  static constexpr unsigned DefaultCsr = 0x1F80;
  unsigned saved_;
#endif
};

}  // namespace lumra::plugin
