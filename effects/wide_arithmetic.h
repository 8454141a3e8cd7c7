#pragma once
// Where the native build may use AVX-512 and FMA beside the baseline code. Both paths give the
// same bits: a fused multiply-add is only used where the product is of two float32 values, which
// is exact in double, so rounding once after the addition is what the separate operations do.

#if defined(__x86_64__) && defined(__linux__)
#define LREVERB_WIDE 1
#define LREVERB_WIDE_TARGET __attribute__((target("avx512f,fma")))
#else
#define LREVERB_WIDE 0
#define LREVERB_WIDE_TARGET
#endif

namespace lumra {

// True when this processor runs the AVX-512 and FMA paths.
bool WideArithmetic();

// a * b + c for a product of two float32 values: fused when Fused, else two operations.
template <bool Fused>
inline double ExactMulAdd(double a, double b, double c) {
  if constexpr (Fused)
    return __builtin_fma(a, b, c);
  else
    return a * b + c;
}

}  // namespace lumra
