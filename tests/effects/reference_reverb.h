#pragma once
// A plain sample-by-sample rendering of a configured reverb unit, written straight from the
// signal-flow description: the optimised unit must match it bit for bit.

#include <cmath>
#include <vector>

#include "effects/stereo_reverb.h"

namespace lumra::testing {

struct ReferenceReverb {
  explicit ReferenceReverb(const TStereoReverb3_1& unit) : u(unit) {
    for (int ch = 0; ch < 2; ++ch) ring[ch].assign(unit.Ring(ch), unit.Ring(ch) + unit.Length[ch]);
  }

  void Process(float* left, float* right, int n) {
    for (int i = 0; i < n; ++i) {
      const float cL = ring[0][u.Position[0]];
      const float cR = ring[1][u.Position[1]];
      const std::array<float, 2> c{cL, cR};
      const std::array<float*, 2> x{left + i, right + i};
      for (int ch = 0; ch < 2; ++ch) {
        const float v = static_cast<float>(double{c[ch]} * u.FeedSelf +
                                           double{c[1 - ch]} * u.FeedCross + *x[ch]);
        u.DampState[ch] = static_cast<float>((double{u.DampState[ch]} * u.DampCoef + v) * u.DampScale);
        float cell = static_cast<float>((v - (double{v} - u.DampState[ch]) * u.DampMix) * u.LoopNorm);
        if (std::fabs(cell) < 0x1p-48f) cell = 0.0f;
        ring[ch][u.Position[ch]] = cell;
      }
      for (int ch = 0; ch < 2; ++ch) {
        float acc = 0.0f;
        for (int t = 0; t < u.TapCount[ch]; ++t) {
          int j = u.TapOffset[ch][t] + u.Position[ch];
          if (j >= u.Length[ch]) j -= u.Length[ch];
          acc = static_cast<float>(acc + double{ring[ch][j]} * u.TapGain[ch][t]);
        }
        *x[ch] = static_cast<float>(double{acc} * u.TapNorm[ch]);
      }
      for (int ch = 0; ch < 2; ++ch)
        if (++u.Position[ch] == u.Length[ch]) u.Position[ch] = 0;
    }
    for (float& s : u.DampState)
      if (std::fabs(s) < 0x1p-48f) s = 0.0f;
  }

  // A copy of the unit's settings and state; only the rings live here.
  struct State {
    std::array<std::int32_t, 2> Length, Position, TapCount;
    std::array<std::array<std::int32_t, TStereoReverb3_1::MaxTaps>, 2> TapOffset;
    std::array<std::array<float, TStereoReverb3_1::MaxTaps>, 2> TapGain;
    std::array<float, 2> DampState, TapNorm;
    float DampCoef, DampScale, DampMix, LoopNorm, FeedSelf, FeedCross;
    explicit State(const TStereoReverb3_1& s)
        : Length(s.Length), Position(s.Position), TapCount(s.TapCount), TapOffset(s.TapOffset),
          TapGain(s.TapGain), DampState(s.DampState), TapNorm(s.TapNorm), DampCoef(s.DampCoef),
          DampScale(s.DampScale), DampMix(s.DampMix), LoopNorm(s.LoopNorm),
          FeedSelf(s.FeedSelf), FeedCross(s.FeedCross) {}
  } u;
  std::array<std::vector<float>, 2> ring;
};

}  // namespace lumra::testing
