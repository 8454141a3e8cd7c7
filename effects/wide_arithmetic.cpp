#include "effects/wide_arithmetic.h"

namespace lumra {
namespace {

bool Detect() {
#if LREVERB_WIDE
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
#else
  return false;
#endif
}

const bool Wide = Detect();

}  // namespace

bool WideArithmetic() { return Wide; }

}  // namespace lumra
