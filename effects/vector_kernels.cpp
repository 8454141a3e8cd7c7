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

#if LREVERB_X86
// Both products, ring cell times gain and gain times v, are of float32 values (kernel_path.h):
// the AVX paths fuse them with their sums, the SSE2 path rounds the exact products first.

LREVERB_TARGET_AVX512 void AllPassAvx512(float* __restrict block, float* __restrict ring,
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

// Eight samples a step as two halves in double, the float32 results as one vector.
LREVERB_TARGET_AVX2 void AllPassAvx2(float* __restrict block, float* __restrict ring,
                                     std::int32_t n, double gain) {
  const __m256d g = _mm256_set1_pd(gain);
  const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7fffffff));
  const __m256 threshold = _mm256_set1_ps(FlushThreshold);
  std::int32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256d d0 = _mm256_cvtps_pd(_mm_loadu_ps(ring + i));
    const __m256d d1 = _mm256_cvtps_pd(_mm_loadu_ps(ring + i + 4));
    const __m256d x0 = _mm256_cvtps_pd(_mm_loadu_ps(block + i));
    const __m256d x1 = _mm256_cvtps_pd(_mm_loadu_ps(block + i + 4));
    const __m128 v0 = _mm256_cvtpd_ps(_mm256_fmadd_pd(d0, g, x0));
    const __m128 v1 = _mm256_cvtpd_ps(_mm256_fmadd_pd(d1, g, x1));
    _mm_storeu_ps(block + i, _mm256_cvtpd_ps(_mm256_fnmadd_pd(g, _mm256_cvtps_pd(v0), d0)));
    _mm_storeu_ps(block + i + 4, _mm256_cvtpd_ps(_mm256_fnmadd_pd(g, _mm256_cvtps_pd(v1), d1)));
    const __m256 v = _mm256_set_m128(v1, v0);
    const __m256 tiny = _mm256_cmp_ps(_mm256_and_ps(v, magnitude), threshold, _CMP_LT_OQ);
    _mm256_storeu_ps(ring + i, _mm256_andnot_ps(tiny, v));
  }
  AllPassPlain(block + i, ring + i, n - i, gain);
}

void AllPassSse2(float* __restrict block, float* __restrict ring, std::int32_t n, double gain) {
  const __m128d g = _mm_set1_pd(gain);
  const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
  const __m128 threshold = _mm_set1_ps(FlushThreshold);
  std::int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128 cells = _mm_loadu_ps(ring + i);
    const __m128 in = _mm_loadu_ps(block + i);
    const __m128d d0 = _mm_cvtps_pd(cells), d1 = _mm_cvtps_pd(_mm_movehl_ps(cells, cells));
    const __m128d x0 = _mm_cvtps_pd(in), x1 = _mm_cvtps_pd(_mm_movehl_ps(in, in));
    const __m128 v = _mm_movelh_ps(_mm_cvtpd_ps(_mm_add_pd(_mm_mul_pd(d0, g), x0)),
                                   _mm_cvtpd_ps(_mm_add_pd(_mm_mul_pd(d1, g), x1)));
    const __m128d v0 = _mm_cvtps_pd(v), v1 = _mm_cvtps_pd(_mm_movehl_ps(v, v));
    _mm_storeu_ps(block + i, _mm_movelh_ps(_mm_cvtpd_ps(_mm_sub_pd(d0, _mm_mul_pd(g, v0))),
                                           _mm_cvtpd_ps(_mm_sub_pd(d1, _mm_mul_pd(g, v1)))));
    const __m128 tiny = _mm_cmplt_ps(_mm_and_ps(v, magnitude), threshold);
    _mm_storeu_ps(ring + i, _mm_andnot_ps(tiny, v));
  }
  AllPassPlain(block + i, ring + i, n - i, gain);
}
#endif

LREVERB_VECTOR_CLONES
void FeedbackPlain(float* __restrict v, const float* __restrict cSelf,
                   const float* __restrict cOther, const float* __restrict x, std::int32_t n,
                   double feedSelf, double feedCross) {
  for (std::int32_t i = 0; i < n; ++i)
    v[i] = static_cast<float>(cSelf[i] * feedSelf + cOther[i] * feedCross + x[i]);
}

LREVERB_VECTOR_CLONES
void DampedCellsPlain(float* __restrict ring, const float* __restrict v,
                      const float* __restrict damp, std::int32_t n, double mix, double norm) {
  for (std::int32_t i = 0; i < n; ++i) {
    const double vi = v[i];
    ring[i] = FlushTiny(static_cast<float>((vi - (vi - damp[i]) * mix) * norm));
  }
}

#if LREVERB_X86
// Both feedback products are of float32 values: the first is exact, and the second fused with
// it rounds once, as the separate addition of the exact products does.
LREVERB_TARGET_AVX512 void FeedbackAvx512(float* __restrict v, const float* __restrict cSelf,
                                          const float* __restrict cOther,
                                          const float* __restrict x, std::int32_t n,
                                          double feedSelf, double feedCross) {
  const __m512d self = _mm512_set1_pd(feedSelf), cross = _mm512_set1_pd(feedCross);
  std::int32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m512d own = _mm512_mul_pd(_mm512_cvtps_pd(_mm256_loadu_ps(cSelf + i)), self);
    const __m512d both = _mm512_fmadd_pd(_mm512_cvtps_pd(_mm256_loadu_ps(cOther + i)), cross, own);
    const __m512d in = _mm512_cvtps_pd(_mm256_loadu_ps(x + i));
    _mm256_storeu_ps(v + i, _mm512_cvtpd_ps(_mm512_add_pd(both, in)));
  }
  FeedbackPlain(v + i, cSelf + i, cOther + i, x + i, n - i, feedSelf, feedCross);
}

LREVERB_TARGET_AVX2 void FeedbackAvx2(float* __restrict v, const float* __restrict cSelf,
                                      const float* __restrict cOther, const float* __restrict x,
                                      std::int32_t n, double feedSelf, double feedCross) {
  const __m256d self = _mm256_set1_pd(feedSelf), cross = _mm256_set1_pd(feedCross);
  std::int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m256d own = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(cSelf + i)), self);
    const __m256d both = _mm256_fmadd_pd(_mm256_cvtps_pd(_mm_loadu_ps(cOther + i)), cross, own);
    const __m256d in = _mm256_cvtps_pd(_mm_loadu_ps(x + i));
    _mm_storeu_ps(v + i, _mm256_cvtpd_ps(_mm256_add_pd(both, in)));
  }
  FeedbackPlain(v + i, cSelf + i, cOther + i, x + i, n - i, feedSelf, feedCross);
}

// Eight cells a step, so that the flush works on one vector. No product here is of two float32
// values, so nothing is fused.
LREVERB_TARGET_AVX2 void DampedCellsAvx2(float* __restrict ring, const float* __restrict v,
                                         const float* __restrict damp, std::int32_t n,
                                         double mix, double norm) {
  const __m256d m = _mm256_set1_pd(mix), k = _mm256_set1_pd(norm);
  const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7fffffff));
  const __m256 threshold = _mm256_set1_ps(FlushThreshold);
  const auto half = [&](std::int32_t at) LREVERB_TARGET_AVX2 {
    const __m256d vi = _mm256_cvtps_pd(_mm_loadu_ps(v + at));
    const __m256d d = _mm256_cvtps_pd(_mm_loadu_ps(damp + at));
    const __m256d mixed = _mm256_sub_pd(vi, _mm256_mul_pd(_mm256_sub_pd(vi, d), m));
    return _mm256_cvtpd_ps(_mm256_mul_pd(mixed, k));
  };
  std::int32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256 cells = _mm256_set_m128(half(i + 4), half(i));
    const __m256 tiny = _mm256_cmp_ps(_mm256_and_ps(cells, magnitude), threshold, _CMP_LT_OQ);
    _mm256_storeu_ps(ring + i, _mm256_andnot_ps(tiny, cells));
  }
  DampedCellsPlain(ring + i, v + i, damp + i, n - i, mix, norm);
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
  switch (ActiveKernelPath()) {
#if LREVERB_X86
    case KernelPath::Avx512: return AllPassAvx512(block, ring, n, gain);
    case KernelPath::Avx2: return AllPassAvx2(block, ring, n, gain);
    case KernelPath::Sse2: return AllPassSse2(block, ring, n, gain);
#endif
    default: return AllPassPlain(block, ring, n, gain);
  }
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

void FeedbackRun(float* v, const float* cSelf, const float* cOther, const float* x,
                 std::int32_t n, double feedSelf, double feedCross) {
  switch (ActiveKernelPath()) {
#if LREVERB_X86
    case KernelPath::Avx512: return FeedbackAvx512(v, cSelf, cOther, x, n, feedSelf, feedCross);
    case KernelPath::Avx2: return FeedbackAvx2(v, cSelf, cOther, x, n, feedSelf, feedCross);
#endif
    default: return FeedbackPlain(v, cSelf, cOther, x, n, feedSelf, feedCross);
  }
}

void DampedCellRun(float* ring, const float* v, const float* damp, std::int32_t n, double mix,
                   double norm) {
#if LREVERB_X86
  if (ActiveKernelPath() == KernelPath::Avx2 || ActiveKernelPath() == KernelPath::Avx512)
    return DampedCellsAvx2(ring, v, damp, n, mix, norm);
#endif
  DampedCellsPlain(ring, v, damp, n, mix, norm);
}

}  // namespace lumra
