#include "effects/vector_kernels.h"

#include <cmath>

#include "effects/flush.h"
#include "effects/wide_intrinsics.h"

namespace lumra {
namespace {

LREVERB_VECTOR_CLONES
void AllPassPlain(float* __restrict block, float* __restrict ring, std::int32_t n, double gain) {
  for (std::int32_t i = 0; i < n; ++i) {
    const double d = ring[i];
    const float v = static_cast<float>(d * gain + block[i]);
    block[i] = static_cast<float>(d - gain * v);
    ring[i] = FlushTiny(v);
  }
}

#if LREVERB_WIDE
// Both products, ring cell times gain and gain times v, are of float32 values: see ExactMulAdd.
LREVERB_WIDE_TARGET void AllPassWide(float* __restrict block, float* __restrict ring,
                                     std::int32_t n, double gain) {
  const __m512d g = _mm512_set1_pd(gain);
  const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7fffffff));
  const __m256 threshold = _mm256_set1_ps(FlushThreshold);
  std::int32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m512d d = _mm512_cvtps_pd(_mm256_loadu_ps(ring + i));
    const __m512d x = _mm512_cvtps_pd(_mm256_loadu_ps(block + i));
    const __m256 v = _mm512_cvtpd_ps(_mm512_fmadd_pd(d, g, x));
    _mm256_storeu_ps(block + i, _mm512_cvtpd_ps(_mm512_fnmadd_pd(g, _mm512_cvtps_pd(v), d)));
    const __m256 tiny = _mm256_cmp_ps(_mm256_and_ps(v, magnitude), threshold, _CMP_LT_OQ);
    _mm256_storeu_ps(ring + i, _mm256_andnot_ps(tiny, v));
  }
  AllPassPlain(block + i, ring + i, n - i, gain);
}
#endif

}  // namespace

LREVERB_VECTOR_CLONES
void SwapSamples(float* __restrict block, float* __restrict ring, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) {
    const float delayed = ring[i];
    ring[i] = block[i];
    block[i] = delayed;
  }
}

void AllPassRun(float* block, float* ring, std::int32_t n, double gain) {
#if LREVERB_WIDE
  if (WideArithmetic()) return AllPassWide(block, ring, n, gain);
#endif
  AllPassPlain(block, ring, n, gain);
}

LREVERB_VECTOR_CLONES
void AddRun(float* __restrict x, const float* __restrict y, std::int32_t n) {
  // A float32 sum taken in double and rounded once equals the float32 sum itself.
  for (std::int32_t i = 0; i < n; ++i) x[i] += y[i];
}

LREVERB_VECTOR_CLONES
void AddScaledRun(float* __restrict x, const float* __restrict y, std::int32_t n, double gain) {
  for (std::int32_t i = 0; i < n; ++i) x[i] = static_cast<float>(y[i] * gain + x[i]);
}

LREVERB_VECTOR_CLONES
void MixRun(float* __restrict x, const float* __restrict y, std::int32_t n, double xGain,
            double yGain) {
  for (std::int32_t i = 0; i < n; ++i) x[i] = static_cast<float>(x[i] * xGain + y[i] * yGain);
}

float PeakRun(const float* x, std::int32_t n, float peak) {
  for (std::int32_t i = 0; i < n; ++i) {
    const float magnitude = std::fabs(x[i]);
    if (magnitude > peak) peak = magnitude;
  }
  return peak;
}

LREVERB_VECTOR_CLONES
void FeedbackRun(float* __restrict v, const float* __restrict cSelf,
                 const float* __restrict cOther, const float* __restrict x, std::int32_t n,
                 double feedSelf, double feedCross) {
  for (std::int32_t i = 0; i < n; ++i)
    v[i] = static_cast<float>(cSelf[i] * feedSelf + cOther[i] * feedCross + x[i]);
}

LREVERB_VECTOR_CLONES
void DampedCellRun(float* __restrict ring, const float* __restrict v,
                   const float* __restrict damp, std::int32_t n, double mix, double norm) {
  for (std::int32_t i = 0; i < n; ++i) {
    const double vi = v[i];
    ring[i] = FlushTiny(static_cast<float>((vi - (vi - damp[i]) * mix) * norm));
  }
}

}  // namespace lumra
