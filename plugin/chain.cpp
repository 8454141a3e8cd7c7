#include "plugin/chain.h"

#include <cmath>

#include "effects/vector_kernels.h"

namespace lumra::plugin {
namespace {

// A sample that is not finite enters the wet path as 0, so it cannot poison the effect's rings
// and filter states; the dry path keeps the host's own data.
LREVERB_VECTOR_CLONES
void ZeroNonFinite(float* __restrict x, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) x[i] = std::isfinite(x[i]) ? x[i] : 0.0f;
}

// The tone filters of one channel: the low-pass when on, then the high-pass formed as the
// signal minus its low-passed copy. Both recursions run in one pass.
void ApplyToneFilters(Instance& in, int c, TWavBuffer& main, TWavBuffer& hp) {
  EffectObjects& fx = *in.Effects;
  if (in.LowPassOn) fx.Filters[0][c].Process(main);
  if (in.HighPassOn) {
    hp.Assign(main);
    fx.Filters[1][c].Process(hp);
    main.Subtract(hp);
  }
}

void RunSetA(EffectObjects& fx, int c, TWavBuffer& main) {
  for (int line = 0; line < 3; ++line) fx.Diffusers[line][c][0].Process(main);
}

}  // namespace

void RunStereoChain(Instance& in, float* left, float* right, std::int32_t n) {
  EffectObjects& fx = *in.Effects;
  ChainBuffers& b = *in.Buffers;
  std::array<TWavBuffer, 2>& main = b.Main;
  main[0].Attach(left, n);
  main[1].Attach(right, n);
  for (int c = 0; c < 2; ++c) {
    b.Dry[c].Assign(main[c]);
    ZeroNonFinite(main[c].Data(), n);
    fx.PreDelays[c].Process(main[c]);
    b.Early[c].SetCount(n);
    b.Pair[0][c].SetCount(n);
    b.Pair[1][c].SetCount(n);
  }

  // All four units hear the same pre-delayed pair; the late unit X works in place on main.
  std::array<TStereoReverb3_1*, 4> units{&fx.Reverbs[EarlyUnit], &fx.Reverbs[0], &fx.Reverbs[1],
                                         &fx.Reverbs[2]};
  std::array<float*, 4> outLeft{b.Early[0].Data(), left, b.Pair[0][0].Data(), b.Pair[1][0].Data()};
  std::array<float*, 4> outRight{b.Early[1].Data(), right, b.Pair[0][1].Data(),
                                 b.Pair[1][1].Data()};
  TStereoReverb3_1::ProcessUnits(units, left, right, outLeft, outRight, n);

  for (int c = 0; c < 2; ++c) {
    fx.Diffusers[0][c][1].Process(main[c]);
    for (int k = 0; k < 2; ++k) {
      fx.Diffusers[k + 1][c][1].Process(b.Pair[k][c]);
      main[c].Add(b.Pair[k][c]);
    }
    if (in.DiffuseOn) RunSetA(fx, c, main[c]);
    main[c].AddScaled(b.Early[c], in.EarlyLevel);
    ApplyToneFilters(in, c, main[c], b.Hp[c]);
  }
  if (in.MeterOn.load(std::memory_order_relaxed)) {
    in.PeakLeft.store(main[0].Peak(), std::memory_order_relaxed);
    in.PeakRight.store(main[1].Peak(), std::memory_order_relaxed);
  }
  for (int c = 0; c < 2; ++c) {
    main[c].Mix(b.Dry[c], in.WetFactor, in.DryLevel);
    main[c].Release();
  }
}

void RunMonoChain(Instance& in, float* channel, std::int32_t n) {
  EffectObjects& fx = *in.Effects;
  ChainBuffers& b = *in.Buffers;
  TWavBuffer& main = b.Main[0];
  main.Attach(channel, n);
  b.Dry[0].Assign(main);
  ZeroNonFinite(channel, n);
  fx.PreDelays[0].Process(main);
  b.Pre.Assign(main);

  // The early unit hears the pre-delayed signal on both inputs.
  for (auto* early : {&b.Early[0], &b.Early[1]}) early->SetCount(n);
  TStereoReverb3_1* earlyUnit = &fx.Reverbs[EarlyUnit];
  float* earlyLeft = b.Early[0].Data();
  float* earlyRight = b.Early[1].Data();
  TStereoReverb3_1::ProcessUnits({&earlyUnit, 1}, channel, b.Pre.Data(), {&earlyLeft, 1},
                                 {&earlyRight, 1}, n);
  // Its right-hand reflections join the left input of the late units.
  main.Add(b.Early[1]);

  for (auto& pair : b.Pair)
    for (auto& half : pair) half.SetCount(n);
  std::array<TStereoReverb3_1*, 3> units{&fx.Reverbs[0], &fx.Reverbs[1], &fx.Reverbs[2]};
  std::array<float*, 3> outLeft{channel, b.Pair[0][0].Data(), b.Pair[1][0].Data()};
  std::array<float*, 3> outRight{b.Pre.Data(), b.Pair[0][1].Data(), b.Pair[1][1].Data()};
  TStereoReverb3_1::ProcessUnits(units, channel, b.Pre.Data(), outLeft, outRight, n);

  main.Add(b.Pre);
  fx.Diffusers[0][0][1].Process(main);
  for (int k = 0; k < 2; ++k) {
    b.Pair[k][0].Add(b.Pair[k][1]);
    fx.Diffusers[k + 1][0][1].Process(b.Pair[k][0]);
    main.Add(b.Pair[k][0]);
  }
  if (in.DiffuseOn) RunSetA(fx, 0, main);
  main.AddScaled(b.Early[0], in.EarlyLevel);
  ApplyToneFilters(in, 0, main, b.Hp[0]);
  if (in.MeterOn.load(std::memory_order_relaxed))
    in.PeakLeft.store(static_cast<float>(double{main.Peak()} * in.WetFactor),
                      std::memory_order_relaxed);
  main.Mix(b.Dry[0], in.WetFactor, in.DryLevel);
  main.Release();
}

}  // namespace lumra::plugin
