#include "effects/tap_sums.h"

#include <algorithm>

#include "effects/wide_intrinsics.h"

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

#if LREVERB_WIDE
// A history sample times a tap gain is a product of two float32 values: see ExactMulAdd.
template <int Vectors>
LREVERB_WIDE_TARGET __attribute__((always_inline)) inline void SumTapBlock(
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

LREVERB_WIDE_TARGET void SumTapRunWide(float* out, const float* history,
                                       const std::int32_t* back, const float* gain,
                                       std::int32_t taps, std::int32_t n, double norm) {
  const __m512d scale = _mm512_set1_pd(norm);
  std::int32_t at = 0;
  for (; at + Block <= n; at += Block)
    SumTapBlock<Block / 8>(out + at, history + at, back, gain, taps, scale);
  for (; at + 8 <= n; at += 8) SumTapBlock<1>(out + at, history + at, back, gain, taps, scale);
  if (at < n) SumTapRunPortable(out + at, history + at, back, gain, taps, n - at, norm);
}
#endif

}  // namespace

void SumTapRun(float* out, const float* history, const std::int32_t* back, const float* gain,
               std::int32_t taps, std::int32_t n, double norm) {
#if LREVERB_WIDE
  if (WideArithmetic()) return SumTapRunWide(out, history, back, gain, taps, n, norm);
#endif
  SumTapRunPortable(out, history, back, gain, taps, n, norm);
}

}  // namespace lumra
