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
    void StepPair(std::int32_t) {}
    void StepPairFused(std::int32_t) {}
  };

  // Takes the configured units among the first MaxUnits given; the others are left to the
  // caller, who passes their signal through.
  void Assign(std::span<TStereoReverb3_1* const> units);
  bool Active(std::size_t unit) const { return (activeMask_ >> unit) & 1u; }
  // The longest chunk: within it no ring cell is both read for feedback and written.
  std::int32_t ChunkLength() const { return chunk_; }

  // One chunk of n samples is Begin, Damp, End. All units hear the same input.
  void Begin(const float* inLeft, const float* inRight, std::int32_t n);
  // companion.Step(i) runs for i < companionCount, interleaved with the chunk's samples; on the
  // vector kernel paths companion.StepPair(i) or StepPairFused(i) instead (WideArithmetic()).
  template <class Companion>
  void Damp(std::int32_t n, Companion& companion, std::int32_t companionCount);
  // Outputs are indexed as the units given to Assign; only active units' are written. They may
  // be the input rows.
  void End(std::span<float* const> outLeft, std::span<float* const> outRight, std::int32_t n);
  // After the host's block: damping states that decayed below the threshold become zero.
  void Finish();

 private:
  static constexpr std::size_t Lanes = 2 * MaxUnits;
  using Rows = std::array<std::array<float, ChunkLimit>, Lanes>;
  // The recursions of all lanes; lanes of absent units have coefficients 0 and stay 0.
  struct LaneState {
    alignas(64) std::array<double, Lanes> Coef{}, Scale{};
    alignas(32) std::array<float, Lanes> State{};
  };
  struct DampAvx512;
  struct DampAvx2;
  struct DampSse2;

  template <class Path, class Companion>
  void DampVector(std::int32_t n, Companion& companion, std::int32_t companionCount);
  template <int K, class Companion>
  void DampLanes(std::int32_t n, Companion& companion, std::int32_t companionCount);

  std::array<TStereoReverb3_1*, MaxUnits> units_{};
  std::array<std::size_t, MaxUnits> index_{};
  std::size_t count_ = 0;
  std::uint32_t activeMask_ = 0;
  std::int32_t chunk_ = ChunkLimit;

  // Row 2k + ch belongs to channel ch of active unit k.
  alignas(64) Rows sum_{};
  alignas(64) Rows damped_{};
};

template <class Companion>
void ReverbBank::Damp(std::int32_t n, Companion& companion, std::int32_t companionCount) {
  switch (ActiveKernelPath()) {
#if LREVERB_X86
    case KernelPath::Avx512: return DampVector<DampAvx512>(n, companion, companionCount);
    case KernelPath::Avx2: return DampVector<DampAvx2>(n, companion, companionCount);
    case KernelPath::Sse2: return DampVector<DampSse2>(n, companion, companionCount);
#endif
    default: break;
  }
  switch (count_) {
    case 0: DampLanes<0>(n, companion, companionCount); break;
    case 1: DampLanes<1>(n, companion, companionCount); break;
    case 2: DampLanes<2>(n, companion, companionCount); break;
    case 3: DampLanes<3>(n, companion, companionCount); break;
    default: DampLanes<4>(n, companion, companionCount); break;
  }
}

#if LREVERB_X86
// All eight recursions (four units, two channels) as the lanes of vectors, a block of samples at
// a time: the rows are transposed in, the block's steps run, the results are transposed back.
// Path::Blocks runs whole blocks of Path::Block samples from i up to end; the rest runs here,
// one sample at a time with the separate operations, which give the same bits as the fused ones.
template <class Path, class Companion>
void ReverbBank::DampVector(std::int32_t n, Companion& companion, std::int32_t companionCount) {
  LaneState lanes;
  for (std::size_t j = 0; j < 2 * count_; ++j) {
    lanes.Coef[j] = units_[j / 2]->DampCoef;
    lanes.Scale[j] = units_[j / 2]->DampScale;
    lanes.State[j] = units_[j / 2]->DampState[j % 2];
  }
  const auto step = [&](std::int32_t i) {
    for (std::size_t j = 0; j < Lanes; ++j) {
      lanes.State[j] = static_cast<float>(
          ExactMulAdd<false>(lanes.State[j], lanes.Coef[j], sum_[j][i]) * lanes.Scale[j]);
      damped_[j][i] = lanes.State[j];
    }
  };
  // Where the whole blocks from start up to end stop.
  const auto blocksEnd = [](std::int32_t start, std::int32_t end) {
    return end <= start ? start : start + (end - start) / Path::Block * Path::Block;
  };
  const std::int32_t both = std::max(0, std::min(n, companionCount));
  std::int32_t i = blocksEnd(0, both);
  Path::template Blocks<true>(sum_, damped_, lanes, companion, 0, i);
  for (; i < both; ++i) {
    step(i);
    companion.StepPair(i);
  }
  const std::int32_t end = blocksEnd(i, n);
  Path::template Blocks<false>(sum_, damped_, lanes, companion, i, end);
  for (i = end; i < n; ++i) step(i);
  for (std::int32_t t = both; t < companionCount; ++t) companion.StepPair(t);
  for (std::size_t j = 0; j < 2 * count_; ++j) units_[j / 2]->DampState[j % 2] = lanes.State[j];
}

// Each Blocks works on a local copy of the companion, so that its state stays in registers
// rather than in memory that the row stores might alias. A damping state times its coefficient
// is a product of two float32 values: see ExactMulAdd.
struct ReverbBank::DampAvx512 {
  static constexpr std::int32_t Block = 8;
  template <bool WithCompanion, class Companion>
  LREVERB_TARGET_AVX512 static void Blocks(const Rows& sum, Rows& damped, LaneState& lanes,
                                           Companion& companion, std::int32_t i,
                                           std::int32_t end) {
    Companion local = companion;
    const __m512d c = _mm512_load_pd(lanes.Coef.data());
    const __m512d k = _mm512_load_pd(lanes.Scale.data());
    __m512d s = _mm512_cvtps_pd(_mm256_load_ps(lanes.State.data()));
    for (; i < end; i += Block) {
      __m256 r[8];
      for (std::size_t j = 0; j < Lanes; ++j) r[j] = _mm256_loadu_ps(sum[j].data() + i);
      Transpose8(r);
      for (int t = 0; t < 8; ++t) {
        r[t] = _mm512_cvtpd_ps(_mm512_mul_pd(_mm512_fmadd_pd(s, c, _mm512_cvtps_pd(r[t])), k));
        s = _mm512_cvtps_pd(r[t]);
        if constexpr (WithCompanion) local.StepPairFused(i + t);
      }
      Transpose8(r);
      for (std::size_t j = 0; j < Lanes; ++j) _mm256_storeu_ps(damped[j].data() + i, r[j]);
    }
    _mm256_store_ps(lanes.State.data(), _mm512_cvtpd_ps(s));
    companion = local;
  }
};

// Lanes 0-3 and 4-7 in two vectors.
struct ReverbBank::DampAvx2 {
  static constexpr std::int32_t Block = 8;
  template <bool WithCompanion, class Companion>
  LREVERB_TARGET_AVX2 static void Blocks(const Rows& sum, Rows& damped, LaneState& lanes,
                                         Companion& companion, std::int32_t i,
                                         std::int32_t end) {
    Companion local = companion;
    const __m256d c0 = _mm256_load_pd(lanes.Coef.data());
    const __m256d c1 = _mm256_load_pd(lanes.Coef.data() + 4);
    const __m256d k0 = _mm256_load_pd(lanes.Scale.data());
    const __m256d k1 = _mm256_load_pd(lanes.Scale.data() + 4);
    __m256d s0 = _mm256_cvtps_pd(_mm_load_ps(lanes.State.data()));
    __m256d s1 = _mm256_cvtps_pd(_mm_load_ps(lanes.State.data() + 4));
    for (; i < end; i += Block) {
      __m256 r[8];
      for (std::size_t j = 0; j < Lanes; ++j) r[j] = _mm256_loadu_ps(sum[j].data() + i);
      Transpose8(r);
      for (int t = 0; t < 8; ++t) {
        const __m256d x0 = _mm256_cvtps_pd(_mm256_castps256_ps128(r[t]));
        const __m256d x1 = _mm256_cvtps_pd(_mm256_extractf128_ps(r[t], 1));
        const __m128 y0 = _mm256_cvtpd_ps(_mm256_mul_pd(_mm256_fmadd_pd(s0, c0, x0), k0));
        const __m128 y1 = _mm256_cvtpd_ps(_mm256_mul_pd(_mm256_fmadd_pd(s1, c1, x1), k1));
        r[t] = _mm256_set_m128(y1, y0);
        s0 = _mm256_cvtps_pd(y0);
        s1 = _mm256_cvtps_pd(y1);
        if constexpr (WithCompanion) local.StepPairFused(i + t);
      }
      Transpose8(r);
      for (std::size_t j = 0; j < Lanes; ++j) _mm256_storeu_ps(damped[j].data() + i, r[j]);
    }
    _mm_store_ps(lanes.State.data(), _mm256_cvtpd_ps(s0));
    _mm_store_ps(lanes.State.data() + 4, _mm256_cvtpd_ps(s1));
    companion = local;
  }
};

// Pairs of lanes in four vectors, four samples at a time; without FMA the exact product is
// rounded first, which changes nothing.
struct ReverbBank::DampSse2 {
  static constexpr std::int32_t Block = 4;
  template <bool WithCompanion, class Companion>
  static void Blocks(const Rows& sum, Rows& damped, LaneState& lanes, Companion& companion,
                     std::int32_t i, std::int32_t end) {
    Companion local = companion;
    __m128d c[4], k[4], s[4];
    for (std::size_t q = 0; q < 4; ++q) {
      c[q] = _mm_load_pd(lanes.Coef.data() + 2 * q);
      k[q] = _mm_load_pd(lanes.Scale.data() + 2 * q);
      s[q] = LoadPairAsDouble(lanes.State.data() + 2 * q);
    }
    for (; i < end; i += Block) {
      // low[t] holds lanes 0-3 of sample i + t, high[t] lanes 4-7.
      __m128 low[4], high[4];
      for (int t = 0; t < 4; ++t) {
        low[t] = _mm_loadu_ps(sum[t].data() + i);
        high[t] = _mm_loadu_ps(sum[t + 4].data() + i);
      }
      _MM_TRANSPOSE4_PS(low[0], low[1], low[2], low[3]);
      _MM_TRANSPOSE4_PS(high[0], high[1], high[2], high[3]);
      for (int t = 0; t < 4; ++t) {
        const __m128d x[4]{
            _mm_cvtps_pd(low[t]), _mm_cvtps_pd(_mm_movehl_ps(low[t], low[t])),
            _mm_cvtps_pd(high[t]), _mm_cvtps_pd(_mm_movehl_ps(high[t], high[t]))};
        __m128 y[4];
        for (std::size_t q = 0; q < 4; ++q) {
          y[q] = _mm_cvtpd_ps(_mm_mul_pd(_mm_add_pd(_mm_mul_pd(s[q], c[q]), x[q]), k[q]));
          s[q] = _mm_cvtps_pd(y[q]);
        }
        low[t] = _mm_movelh_ps(y[0], y[1]);
        high[t] = _mm_movelh_ps(y[2], y[3]);
        if constexpr (WithCompanion) local.StepPair(i + t);
      }
      _MM_TRANSPOSE4_PS(low[0], low[1], low[2], low[3]);
      _MM_TRANSPOSE4_PS(high[0], high[1], high[2], high[3]);
      for (int t = 0; t < 4; ++t) {
        _mm_storeu_ps(damped[t].data() + i, low[t]);
        _mm_storeu_ps(damped[t + 4].data() + i, high[t]);
      }
    }
    for (std::size_t q = 0; q < 4; ++q) StorePairAsFloat(lanes.State.data() + 2 * q, s[q]);
    companion = local;
  }
};
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
