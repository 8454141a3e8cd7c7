#include "effects/tap_sums.h"

#include <algorithm>

#if defined(__x86_64__) && defined(__linux__)
// GCC 12's conversion intrinsics start from a deliberately undefined vector and warn about it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#define LREVERB_TAPS_AVX512 1
#endif

namespace lumra {
namespace {

// Samples summed together while the taps are walked: long enough to keep several vector sums in
// flight, short enough for the sums to stay in registers.
constexpr std::int32_t Block = 64;

void SumTapRunPortable(float* out, const float* history, const std::int32_t* back,
                       const float* gain, std::int32_t taps, std::int32_t n, double norm) {
  for (std::int32_t at = 0; at < n; at += Block) {
    const std::int32_t len = std::min(Block, n - at);
    alignas(64) float acc[Block] = {};
    for (std::int32_t t = 0; t < taps; ++t) {
      const float* src = history + at - back[t];
      const double g = gain[t];
      for (std::int32_t i = 0; i < len; ++i) acc[i] = static_cast<float>(acc[i] + src[i] * g);
    }
    for (std::int32_t i = 0; i < len; ++i) out[at + i] = static_cast<float>(acc[i] * norm);
  }
}

#ifdef LREVERB_TAPS_AVX512
// A history sample times a tap gain is exact in double (two 24-bit significands), so the fused
// multiply-add rounds exactly once where the scalar code rounds the sum: the same result.
template <int Vectors>
__attribute__((target("avx512f"), always_inline)) inline void SumTapBlock(
    float* out, const float* history, const std::int32_t* back, const float* gain,
    std::int32_t taps, __m512d norm) {
  __m256 acc[Vectors];
  for (int k = 0; k < Vectors; ++k) acc[k] = _mm256_setzero_ps();
  for (std::int32_t t = 0; t < taps; ++t) {
    const float* src = history - back[t];
    const __m512d g = _mm512_set1_pd(gain[t]);
    for (int k = 0; k < Vectors; ++k) {
      const __m512d x = _mm512_cvtps_pd(_mm256_loadu_ps(src + 8 * k));
      acc[k] = _mm512_cvtpd_ps(_mm512_fmadd_pd(x, g, _mm512_cvtps_pd(acc[k])));
    }
  }
  for (int k = 0; k < Vectors; ++k)
    _mm256_storeu_ps(out + 8 * k, _mm512_cvtpd_ps(_mm512_mul_pd(_mm512_cvtps_pd(acc[k]), norm)));
}

__attribute__((target("avx512f"))) void SumTapRunAvx512(float* out, const float* history,
                                                         const std::int32_t* back,
                                                         const float* gain, std::int32_t taps,
                                                         std::int32_t n, double norm) {
  const __m512d scale = _mm512_set1_pd(norm);
  std::int32_t at = 0;
  for (; at + Block <= n; at += Block)
    SumTapBlock<Block / 8>(out + at, history + at, back, gain, taps, scale);
  for (; at + 8 <= n; at += 8) SumTapBlock<1>(out + at, history + at, back, gain, taps, scale);
  if (at < n) SumTapRunPortable(out + at, history + at, back, gain, taps, n - at, norm);
}

bool DetectAvx512() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f");
}

const bool HasAvx512 = DetectAvx512();
#endif

}  // namespace

void SumTapRun(float* out, const float* history, const std::int32_t* back, const float* gain,
               std::int32_t taps, std::int32_t n, double norm) {
#ifdef LREVERB_TAPS_AVX512
  if (HasAvx512) return SumTapRunAvx512(out, history, back, gain, taps, n, norm);
#endif
  SumTapRunPortable(out, history, back, gain, taps, n, norm);
}

}  // namespace lumra
