#pragma once
// Several reverb units driven chunk by chunk, side by side. The damping low-passes are the only
// serial recursions of a unit; the bank runs those of all its units in one loop, together with
// one more recursion of the caller's (the companion), so that their latencies overlap. Every
// unit's arithmetic is exactly that of TStereoReverb3_1::ProcessStereo.

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "effects/stereo_reverb.h"
#include "effects/wide_intrinsics.h"

namespace lumra {

class ReverbBank {
 public:
  static constexpr std::size_t MaxUnits = 4;
  static constexpr std::int32_t ChunkLimit = TStereoReverb3_1::ChunkLimit;

  // A companion whose steps do nothing.
  struct NoCompanion {
    void Step(std::int32_t) {}
    void StepWide(std::int32_t) {}
  };

  // Takes the configured units among the first MaxUnits given; the others are left to the
  // caller, who passes their signal through.
  void Assign(std::span<TStereoReverb3_1* const> units);
  bool Active(std::size_t unit) const { return (activeMask_ >> unit) & 1u; }
  // The longest chunk: within it no ring cell is both read for feedback and written.
  std::int32_t ChunkLength() const { return chunk_; }

  // One chunk of n samples is Begin, Damp, End. All units hear the same input.
  void Begin(const float* inLeft, const float* inRight, std::int32_t n);
  // companion.Step(i) runs for i < companionCount, interleaved with the chunk's samples; where
  // the wide arithmetic runs, companion.StepWide(i) instead.
  template <class Companion>
  void Damp(std::int32_t n, Companion& companion, std::int32_t companionCount);
  // Outputs are indexed as the units given to Assign; only active units' are written. They may
  // be the input rows.
  void End(std::span<float* const> outLeft, std::span<float* const> outRight, std::int32_t n);
  // After the host's block: damping states that decayed below the threshold become zero.
  void Finish();

 private:
  template <class Companion>
  LREVERB_WIDE_TARGET void DampWide(std::int32_t n, Companion& companion,
                                    std::int32_t companionCount);
  template <int K, class Companion>
  void DampLanes(std::int32_t n, Companion& companion, std::int32_t companionCount);

  std::array<TStereoReverb3_1*, MaxUnits> units_{};
  std::array<std::size_t, MaxUnits> index_{};
  std::size_t count_ = 0;
  std::uint32_t activeMask_ = 0;
  std::int32_t chunk_ = ChunkLimit;

  // Row 2k + ch belongs to channel ch of active unit k.
  alignas(64) std::array<std::array<float, ChunkLimit>, 2 * MaxUnits> sum_{};
  alignas(64) std::array<std::array<float, ChunkLimit>, 2 * MaxUnits> damped_{};
};

template <class Companion>
void ReverbBank::Damp(std::int32_t n, Companion& companion, std::int32_t companionCount) {
#if LREVERB_WIDE
  if (WideArithmetic()) return DampWide(n, companion, companionCount);
#endif
  switch (count_) {
    case 0: DampLanes<0>(n, companion, companionCount); break;
    case 1: DampLanes<1>(n, companion, companionCount); break;
    case 2: DampLanes<2>(n, companion, companionCount); break;
    case 3: DampLanes<3>(n, companion, companionCount); break;
    default: DampLanes<4>(n, companion, companionCount); break;
  }
}

#if LREVERB_WIDE
// All eight recursions (four units, two channels) as the lanes of one vector, eight samples at a
// time: the rows are transposed in, the eight steps run, the results are transposed back. Lanes
// of absent units have coefficients 0 and stay 0.
template <class Companion>
void ReverbBank::DampWide(std::int32_t n, Companion& companion, std::int32_t companionCount) {
  constexpr std::size_t Lanes = 2 * MaxUnits;
  alignas(64) std::array<double, Lanes> coef{}, scale{};
  alignas(32) std::array<float, Lanes> state{};
  for (std::size_t j = 0; j < 2 * count_; ++j) {
    coef[j] = units_[j / 2]->DampCoef;
    scale[j] = units_[j / 2]->DampScale;
    state[j] = units_[j / 2]->DampState[j % 2];
  }
  Companion lanes = companion;
  const __m512d c = _mm512_load_pd(coef.data());
  const __m512d k = _mm512_load_pd(scale.data());
  const auto blocks = [&]<bool WithCompanion>(std::int32_t& i, std::int32_t end)
                          LREVERB_WIDE_TARGET {
    __m512d s = _mm512_cvtps_pd(_mm256_load_ps(state.data()));
    for (; i + 8 <= end; i += 8) {
      __m256 r[8];
      for (std::size_t j = 0; j < Lanes; ++j) r[j] = _mm256_loadu_ps(sum_[j].data() + i);
      Transpose8(r);
      for (int t = 0; t < 8; ++t) {
        r[t] = _mm512_cvtpd_ps(_mm512_mul_pd(_mm512_fmadd_pd(s, c, _mm512_cvtps_pd(r[t])), k));
        s = _mm512_cvtps_pd(r[t]);
        if constexpr (WithCompanion) lanes.StepWide(i + t);
      }
      Transpose8(r);
      for (std::size_t j = 0; j < Lanes; ++j) _mm256_storeu_ps(damped_[j].data() + i, r[j]);
    }
    _mm256_store_ps(state.data(), _mm512_cvtpd_ps(s));
  };
  const auto step = [&](std::int32_t i) LREVERB_WIDE_TARGET {
    for (std::size_t j = 0; j < Lanes; ++j) {
      state[j] = static_cast<float>(ExactMulAdd<true>(state[j], coef[j], sum_[j][i]) * scale[j]);
      damped_[j][i] = state[j];
    }
  };
  const std::int32_t both = std::min(n, companionCount);
  std::int32_t i = 0;
  blocks.template operator()<true>(i, both);
  for (; i < both; ++i) {
    step(i);
    lanes.StepWide(i);
  }
  blocks.template operator()<false>(i, n);
  for (; i < n; ++i) step(i);
  for (std::int32_t t = both; t < companionCount; ++t) lanes.StepWide(t);
  companion = lanes;
  for (std::size_t j = 0; j < 2 * count_; ++j) units_[j / 2]->DampState[j % 2] = state[j];
}
#endif

template <int K, class Companion>
void ReverbBank::DampLanes(std::int32_t n, Companion& companion, std::int32_t companionCount) {
  constexpr int Lanes = 2 * K;
  std::array<double, Lanes> coef, scale;
  std::array<float, Lanes> state;
  for (int j = 0; j < Lanes; ++j) {
    coef[j] = units_[j / 2]->DampCoef;
    scale[j] = units_[j / 2]->DampScale;
    state[j] = units_[j / 2]->DampState[j % 2];
  }
  const auto step = [&](std::int32_t i) {
    for (int j = 0; j < Lanes; ++j) {
      state[j] = static_cast<float>(ExactMulAdd<false>(state[j], coef[j], sum_[j][i]) * scale[j]);
      damped_[j][i] = state[j];
    }
  };
  // A local copy, so that the companion's state stays in registers rather than in memory that
  // the row stores might alias.
  Companion lanes = companion;
  const std::int32_t both = std::min(n, companionCount);
  for (std::int32_t i = 0; i < both; ++i) {
    step(i);
    lanes.Step(i);
  }
  for (std::int32_t i = both; i < n; ++i) step(i);
  for (std::int32_t i = both; i < companionCount; ++i) lanes.Step(i);
  companion = lanes;
  for (int j = 0; j < Lanes; ++j) units_[j / 2]->DampState[j % 2] = state[j];
}

// Runs the units over count samples of the same stereo input, each writing its own output pair
// (which may be the input itself); an unconfigured unit, or one beyond the first MaxUnits,
// passes its input through.
void RunBank(ReverbBank& bank, std::span<TStereoReverb3_1* const> units, const float* inLeft,
             const float* inRight, std::span<float* const> outLeft,
             std::span<float* const> outRight, std::int32_t count);

}  // namespace lumra
