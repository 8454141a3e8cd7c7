#pragma once
// The chain's tone filters run as lanes beside the reverb damping (see ReverbBank::Damp).

#include <array>
#include <cstdint>

#include "effects/flush.h"
#include "effects/lowpass.h"
#include "effects/wide_intrinsics.h"

namespace lumra {

// The tone filters over rows of samples, in place: the low-pass when on, then the high-pass
// formed as the signal minus its low-passed copy. One step advances all recursions of all
// channels by one sample, so that their latencies overlap; each keeps exactly its own arithmetic.
// On the vector paths the two channels are the two lanes of one vector per filter.
template <bool LowPass, bool HighPass, int Channels>
class ToneLanes {
 public:
  ToneLanes(std::array<TLPF, 2>& lowPass, std::array<TLPF, 2>& highPass,
            const std::array<float*, 2>& rows, bool pair)
      : lowPass_(&lowPass), highPass_(&highPass), rows_(rows), pair_(pair) {
    for (int c = 0; c < Channels; ++c) {
      low_[c] = lowPass[c].State;
      high_[c] = highPass[c].State;
      lowCoef_[c] = lowPass[c].Coef;
      lowScale_[c] = lowPass[c].Scale;
      highCoef_[c] = highPass[c].Coef;
      highScale_[c] = highPass[c].Scale;
    }
#if LREVERB_X86
    if constexpr (Channels == 2) {
      lowPair_ = _mm_setr_ps(low_[0], low_[1], 0.0f, 0.0f);
      highPair_ = _mm_setr_ps(high_[0], high_[1], 0.0f, 0.0f);
      lowPairCoef_ = _mm_setr_pd(lowCoef_[0], lowCoef_[1]);
      lowPairScale_ = _mm_setr_pd(lowScale_[0], lowScale_[1]);
      highPairCoef_ = _mm_setr_pd(highCoef_[0], highCoef_[1]);
      highPairScale_ = _mm_setr_pd(highScale_[0], highScale_[1]);
    }
#endif
  }

  void Step(std::int32_t i) {
    for (int c = 0; c < Channels; ++c) {
      float x = rows_[c][i];
      if constexpr (LowPass) {
        low_[c] = static_cast<float>((low_[c] * lowCoef_[c] + x) * lowScale_[c]);
        x = low_[c];
      }
      if constexpr (HighPass) {
        high_[c] = static_cast<float>((high_[c] * highCoef_[c] + x) * highScale_[c]);
        x -= high_[c];
      }
      rows_[c][i] = x;
    }
  }

#if LREVERB_X86
  // Both channels in the lanes of one vector: for the reverb damping's vector paths, which only
  // call these when pair was given to the constructor.
  void StepPair(std::int32_t i) {
    __m128 x = LoadPair(i);
    if constexpr (LowPass) x = lowPair_ = OnePolePair(lowPair_, lowPairCoef_, lowPairScale_, x);
    if constexpr (HighPass) {
      highPair_ = OnePolePair(highPair_, highPairCoef_, highPairScale_, x);
      x = _mm_sub_ps(x, highPair_);
    }
    StorePair(i, x);
  }

  LREVERB_TARGET_FMA void StepPairFused(std::int32_t i) {
    __m128 x = LoadPair(i);
    if constexpr (LowPass)
      x = lowPair_ = OnePolePairFused(lowPair_, lowPairCoef_, lowPairScale_, x);
    if constexpr (HighPass) {
      highPair_ = OnePolePairFused(highPair_, highPairCoef_, highPairScale_, x);
      x = _mm_sub_ps(x, highPair_);
    }
    StorePair(i, x);
  }
#endif

  // After the host's block: the states go back to the filters, tiny ones flushed.
  void Finish() {
#if LREVERB_X86
    if constexpr (Channels == 2) {
      if (pair_) {
        _mm_storel_pi(reinterpret_cast<__m64*>(low_.data()), lowPair_);
        _mm_storel_pi(reinterpret_cast<__m64*>(high_.data()), highPair_);
      }
    }
#endif
    for (int c = 0; c < Channels; ++c) {
      if constexpr (LowPass) (*lowPass_)[c].State = FlushTiny(low_[c]);
      if constexpr (HighPass) (*highPass_)[c].State = FlushTiny(high_[c]);
    }
  }

 private:
#if LREVERB_X86
  __m128 LoadPair(std::int32_t i) const {
    static_assert(Channels == 2);
    return _mm_unpacklo_ps(_mm_load_ss(rows_[0] + i), _mm_load_ss(rows_[1] + i));
  }
  void StorePair(std::int32_t i, __m128 x) const {
    _mm_store_ss(rows_[0] + i, x);
    _mm_store_ss(rows_[1] + i, _mm_shuffle_ps(x, x, 1));
  }

  // One step of both channels' filters: (state * coef + x) * scale, rounded to float32. The
  // state times the coefficient is a product of two float32 values: see ExactMulAdd.
  static __m128 OnePolePair(__m128 state, __m128d coef, __m128d scale, __m128 x) {
    const __m128d sum = _mm_add_pd(_mm_mul_pd(_mm_cvtps_pd(state), coef), _mm_cvtps_pd(x));
    return _mm_cvtpd_ps(_mm_mul_pd(sum, scale));
  }
  LREVERB_TARGET_FMA static __m128 OnePolePairFused(__m128 state, __m128d coef, __m128d scale,
                                                    __m128 x) {
    const __m128d sum = _mm_fmadd_pd(_mm_cvtps_pd(state), coef, _mm_cvtps_pd(x));
    return _mm_cvtpd_ps(_mm_mul_pd(sum, scale));
  }
#endif

  std::array<TLPF, 2>* lowPass_;
  std::array<TLPF, 2>* highPass_;
  std::array<float*, 2> rows_;
  bool pair_;
  std::array<float, Channels> low_, high_;
  std::array<double, Channels> lowCoef_, lowScale_, highCoef_, highScale_;
#if LREVERB_X86
  __m128 lowPair_, highPair_;
  __m128d lowPairCoef_, lowPairScale_, highPairCoef_, highPairScale_;
#endif
};

}  // namespace lumra
