#include "effects/tap_sums.h"

#include <algorithm>

#include "effects/wide_intrinsics.h"

namespace lumra {
namespace {

// Samples summed together while the taps are walked: long enough to keep several vector sums in
// flight, short enough for the sums to stay in registers.
constexpr std::int32_t Block = 64;

void SumTapRunPortable(float* out, const float* const* runs, const float* gain,
                       std::int32_t taps, std::int32_t n, double norm, std::int32_t at = 0) {
  for (; at < n; at += Block) {
    const std::int32_t len = std::min(Block, n - at);
    alignas(64) float acc[Block] = {};
    for (std::int32_t t = 0; t < taps; ++t) {
      const float* src = runs[t] + at;
      const double g = gain[t];
      for (std::int32_t i = 0; i < len; ++i) acc[i] = static_cast<float>(acc[i] + src[i] * g);
    }
    for (std::int32_t i = 0; i < len; ++i) out[at + i] = static_cast<float>(acc[i] * norm);
  }
}

#if LREVERB_X86
// A history sample times a tap gain is a product of two float32 values (kernel_path.h), so the
// AVX paths fuse it with the addition. Each vector path sums whole blocks of Span samples, then
// single vectors, and leaves the rest to the portable code.

template <int Vectors>
LREVERB_TARGET_AVX512 __attribute__((always_inline)) inline void SumTapBlockAvx512(
    float* out, const float* const* runs, const float* gain, std::int32_t taps,
    std::int32_t at, __m512d norm) {
  __m256 acc[Vectors];
  for (int k = 0; k < Vectors; ++k) acc[k] = _mm256_setzero_ps();
  for (std::int32_t t = 0; t < taps; ++t) {
    const float* src = runs[t] + at;
    const __m512d g = _mm512_set1_pd(gain[t]);
    for (int k = 0; k < Vectors; ++k) {
      const __m512d x = _mm512_cvtps_pd(_mm256_loadu_ps(src + 8 * k));
      acc[k] = _mm512_cvtpd_ps(_mm512_fmadd_pd(x, g, _mm512_cvtps_pd(acc[k])));
    }
  }
  for (int k = 0; k < Vectors; ++k)
    _mm256_storeu_ps(out + at + 8 * k,
                     _mm512_cvtpd_ps(_mm512_mul_pd(_mm512_cvtps_pd(acc[k]), norm)));
}

LREVERB_TARGET_AVX512 void SumTapRunAvx512(float* out, const float* const* runs,
                                           const float* gain, std::int32_t taps, std::int32_t n,
                                           double norm) {
  constexpr std::int32_t Span = 64;
  const __m512d scale = _mm512_set1_pd(norm);
  std::int32_t at = 0;
  for (; at + Span <= n; at += Span) SumTapBlockAvx512<Span / 8>(out, runs, gain, taps, at, scale);
  for (; at + 8 <= n; at += 8) SumTapBlockAvx512<1>(out, runs, gain, taps, at, scale);
  SumTapRunPortable(out, runs, gain, taps, n, norm, at);
}

template <int Vectors>
LREVERB_TARGET_AVX2 __attribute__((always_inline)) inline void SumTapBlockAvx2(
    float* out, const float* const* runs, const float* gain, std::int32_t taps,
    std::int32_t at, __m256d norm) {
  __m128 acc[Vectors];
  for (int k = 0; k < Vectors; ++k) acc[k] = _mm_setzero_ps();
  for (std::int32_t t = 0; t < taps; ++t) {
    const float* src = runs[t] + at;
    const __m256d g = _mm256_set1_pd(gain[t]);
    for (int k = 0; k < Vectors; ++k) {
      const __m256d x = _mm256_cvtps_pd(_mm_loadu_ps(src + 4 * k));
      acc[k] = _mm256_cvtpd_ps(_mm256_fmadd_pd(x, g, _mm256_cvtps_pd(acc[k])));
    }
  }
  for (int k = 0; k < Vectors; ++k)
    _mm_storeu_ps(out + at + 4 * k, _mm256_cvtpd_ps(_mm256_mul_pd(_mm256_cvtps_pd(acc[k]), norm)));
}

LREVERB_TARGET_AVX2 void SumTapRunAvx2(float* out, const float* const* runs, const float* gain,
                                       std::int32_t taps, std::int32_t n, double norm) {
  constexpr std::int32_t Span = 32;
  const __m256d scale = _mm256_set1_pd(norm);
  std::int32_t at = 0;
  for (; at + Span <= n; at += Span) SumTapBlockAvx2<Span / 4>(out, runs, gain, taps, at, scale);
  for (; at + 4 <= n; at += 4) SumTapBlockAvx2<1>(out, runs, gain, taps, at, scale);
  SumTapRunPortable(out, runs, gain, taps, n, norm, at);
}

// Without FMA the product is rounded first, which changes nothing as it is exact. The sums are
// kept widened to double between taps: they are float32 values, so that is exact too.
template <int Vectors>
__attribute__((always_inline)) inline void SumTapBlockSse2(float* out, const float* const* runs,
                                                           const float* gain, std::int32_t taps,
                                                           std::int32_t at, __m128d norm) {
  __m128d acc[Vectors];
  for (int k = 0; k < Vectors; ++k) acc[k] = _mm_setzero_pd();
  for (std::int32_t t = 0; t < taps; ++t) {
    const float* src = runs[t] + at;
    const __m128d g = _mm_set1_pd(gain[t]);
    for (int k = 0; k < Vectors; ++k) {
      const __m128d sum = _mm_add_pd(_mm_mul_pd(LoadPairAsDouble(src + 2 * k), g), acc[k]);
      acc[k] = _mm_cvtps_pd(_mm_cvtpd_ps(sum));
    }
  }
  for (int k = 0; k < Vectors; ++k) StorePairAsFloat(out + at + 2 * k, _mm_mul_pd(acc[k], norm));
}

void SumTapRunSse2(float* out, const float* const* runs, const float* gain, std::int32_t taps,
                   std::int32_t n, double norm) {
  // Eight registers in 32-bit code, sixteen in 64-bit code.
  constexpr std::int32_t Span = sizeof(void*) == 8 ? 16 : 8;
  const __m128d scale = _mm_set1_pd(norm);
  std::int32_t at = 0;
  for (; at + Span <= n; at += Span) SumTapBlockSse2<Span / 2>(out, runs, gain, taps, at, scale);
  for (; at + 2 <= n; at += 2) SumTapBlockSse2<1>(out, runs, gain, taps, at, scale);
  SumTapRunPortable(out, runs, gain, taps, n, norm, at);
}
#endif

}  // namespace

void SumTapRun(float* out, const float* const* runs, const float* gain, std::int32_t taps,
               std::int32_t n, double norm) {
  switch (ActiveKernelPath()) {
#if LREVERB_X86
    case KernelPath::Avx512: return SumTapRunAvx512(out, runs, gain, taps, n, norm);
    case KernelPath::Avx2: return SumTapRunAvx2(out, runs, gain, taps, n, norm);
    case KernelPath::Sse2: return SumTapRunSse2(out, runs, gain, taps, n, norm);
#endif
    default: return SumTapRunPortable(out, runs, gain, taps, n, norm);
  }
}

}  // namespace lumra
