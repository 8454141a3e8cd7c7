#include "plugin/chain.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "effects/flush.h"
#include "effects/reverb_bank.h"
#include "effects/tone_lanes.h"
#include "effects/vector_kernels.h"
#include "effects/wide_intrinsics.h"

namespace lumra::plugin {
namespace {

// A sample that is not finite enters the wet path as 0, so it cannot poison the effect's rings
// and filter states; the dry path keeps the host's own data.
LREVERB_VECTOR_CLONES
void ZeroNonFinite(float* __restrict x, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) x[i] = std::isfinite(x[i]) ? x[i] : 0.0f;
}

LREVERB_VECTOR_CLONES
void CopyFinite(float* __restrict out, const float* __restrict x, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) out[i] = std::isfinite(x[i]) ? x[i] : 0.0f;
}

// Calls body with the tone lanes that the switches ask for, then finishes them.
// wide says whether the lanes will be stepped with StepWide.
template <int Channels, class Body>
void WithToneLanes(ChainParts& parts, const std::array<float*, 2>& rows, bool wide,
                   Body&& body) {
  EffectObjects& fx = parts.Effects;
  const ChainSettings& in = parts.Settings;
  const auto run = [&](auto lanes) {
    body(lanes);
    lanes.Finish();
  };
  if (in.LowPassOn && in.HighPassOn) {
    run(ToneLanes<true, true, Channels>(fx.Filters[0], fx.Filters[1], rows, wide));
  } else if (in.LowPassOn) {
    run(ToneLanes<true, false, Channels>(fx.Filters[0], fx.Filters[1], rows, wide));
  } else if (in.HighPassOn) {
    run(ToneLanes<false, true, Channels>(fx.Filters[0], fx.Filters[1], rows, wide));
  } else {
    run(ToneLanes<false, false, Channels>(fx.Filters[0], fx.Filters[1], rows, wide));
  }
}

void RunSetA(EffectObjects& fx, int c, float* x, std::int32_t n) {
  for (int line = 0; line < 3; ++line) fx.Diffusers[line][c][0].ProcessRun(x, n);
}

// The wet signal of one stereo chunk from the units' outputs, left in the X unit's rows: the
// set-B lines on the late units' outputs, summed; the set-A lines in series; the early
// reflections added.
void CombineStereoChunk(ChainParts& parts, StereoRows& rows, std::int32_t n) {
  EffectObjects& fx = parts.Effects;
  const ChainSettings& in = parts.Settings;
  for (int c = 0; c < 2; ++c) {
    float* wet = rows.Units[1][c].data();
    fx.Diffusers[0][c][1].ProcessRun(wet, n);
    for (int k = 0; k < 2; ++k) {
      float* late = rows.Units[k + 2][c].data();
      fx.Diffusers[k + 1][c][1].ProcessRun(late, n);
      AddRun(wet, late, n);
    }
    if (in.DiffuseOn) RunSetA(fx, c, wet, n);
    AddScaledRun(wet, rows.Units[0][c].data(), n, in.EarlyLevel);
  }
}

// Damping alone fills the pipeline and the tone filters alone drain it, each for one chunk:
// shorter chunks shorten both, much shorter ones cost more in per-chunk work than they save.
constexpr std::int32_t StereoChunk = 128;

}  // namespace

void EffectObjects::ClearAll() {
  for (auto& reverb : Reverbs) reverb.Clear();
  for (auto& delay : PreDelays) delay.Clear();
  for (auto& kind : Filters)
    for (auto& filter : kind) filter.Clear();
  for (auto& line : Diffusers)
    for (auto& channel : line)
      for (auto& diffuser : channel) diffuser.Clear();
}

// The chain runs chunk by chunk; every effect object still sees its samples in order, so the
// result is that of whole-block passes. The tone filters of a chunk run in the same loop as the
// reverb damping of the next chunk: two serial recursions overlap instead of following each
// other. The host's buffers keep the dry signal until a chunk is mixed.
void RunStereoChain(ChainParts& parts, float* left, float* right, std::int32_t n,
                    std::array<float, 2>* peaks) {
  EffectObjects& fx = parts.Effects;
  ChainBuffers& b = parts.Buffers;
  const ChainSettings& in = parts.Settings;
  StereoRows& rows = b.Stereo;
  ReverbBank& bank = b.Bank;
  const std::array<float*, 2> host{left, right};
  const std::array<TStereoReverb3_1*, 4> units{&fx.Reverbs[EarlyUnit], &fx.Reverbs[0],
                                               &fx.Reverbs[1], &fx.Reverbs[2]};
  std::array<float*, 4> outLeft, outRight;
  for (int u = 0; u < 4; ++u) {
    outLeft[u] = rows.Units[u][0].data();
    outRight[u] = rows.Units[u][1].data();
  }
  bank.Assign(units);
  const std::int32_t chunk = std::min(bank.ChunkLength(), StereoChunk);
  const bool meter = peaks != nullptr;
  std::array<float, 2> peak{0.0f, 0.0f};

  WithToneLanes<2>(parts, {outLeft[1], outRight[1]}, WideArithmetic(), [&](auto& tone) {
    std::int32_t last = 0, lastCount = 0;
    for (std::int32_t at = 0; at < n || lastCount > 0;) {
      const std::int32_t count = std::min(chunk, n - at);
      for (int c = 0; c < 2; ++c) {
        CopyFinite(rows.Input[c].data(), host[c] + at, count);
        fx.PreDelays[c].ProcessRun(rows.Input[c].data(), count);
      }
      bank.Begin(rows.Input[0].data(), rows.Input[1].data(), count);
      bank.Damp(count, tone, lastCount);
      for (int c = 0; c < 2; ++c) {
        const float* wet = rows.Units[1][c].data();
        if (meter) peak[c] = PeakRun(wet, lastCount, peak[c]);
        // The host row holds the dry signal: dry * DryLevel + wet * WetFactor, the same sum as
        // wet * WetFactor + dry * DryLevel.
        MixRun(host[c] + last, wet, lastCount, in.DryLevel, in.WetFactor);
      }
      if (count > 0) {
        bank.End(outLeft, outRight, count);
        for (int u = 0; u < 4; ++u) {
          if (bank.Active(u)) continue;
          for (int c = 0; c < 2; ++c)
            std::memcpy(rows.Units[u][c].data(), rows.Input[c].data(), sizeof(float) * count);
        }
        CombineStereoChunk(parts, rows, count);
      }
      last = at;
      lastCount = count;
      at += count;
    }
  });
  bank.Finish();
  if (meter) *peaks = peak;
}

void RunMonoChain(ChainParts& parts, float* channel, std::int32_t n,
                  std::array<float, 2>* peaks) {
  EffectObjects& fx = parts.Effects;
  ChainBuffers& b = parts.Buffers;
  const ChainSettings& in = parts.Settings;
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
  RunBank(b.Bank, {&earlyUnit, 1}, channel, b.Pre.Data(), {&earlyLeft, 1}, {&earlyRight, 1}, n);
  // Its right-hand reflections join the left input of the late units.
  main.Add(b.Early[1]);

  for (auto& pair : b.Pair)
    for (auto& half : pair) half.SetCount(n);
  std::array<TStereoReverb3_1*, 3> units{&fx.Reverbs[0], &fx.Reverbs[1], &fx.Reverbs[2]};
  std::array<float*, 3> outLeft{channel, b.Pair[0][0].Data(), b.Pair[1][0].Data()};
  std::array<float*, 3> outRight{b.Pre.Data(), b.Pair[0][1].Data(), b.Pair[1][1].Data()};
  RunBank(b.Bank, units, channel, b.Pre.Data(), outLeft, outRight, n);

  main.Add(b.Pre);
  fx.Diffusers[0][0][1].Process(main);
  for (int k = 0; k < 2; ++k) {
    b.Pair[k][0].Add(b.Pair[k][1]);
    fx.Diffusers[k + 1][0][1].Process(b.Pair[k][0]);
    main.Add(b.Pair[k][0]);
  }
  if (in.DiffuseOn) RunSetA(fx, 0, channel, n);
  main.AddScaled(b.Early[0], in.EarlyLevel);
  WithToneLanes<1>(parts, {channel, nullptr}, false, [n](auto& tone) {
    for (std::int32_t i = 0; i < n; ++i) tone.Step(i);
  });
  if (peaks != nullptr) (*peaks)[0] = static_cast<float>(double{main.Peak()} * in.WetFactor);
  main.Mix(b.Dry[0], in.WetFactor, in.DryLevel);
  main.Release();
}

}  // namespace lumra::plugin
