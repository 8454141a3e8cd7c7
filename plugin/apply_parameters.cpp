#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/exact_math.h"
#include "common/random.h"
#include "effects/prime_table.h"
#include "plugin/float_environment.h"
#include "plugin/instance.h"
#include "plugin/message_pump.h"

namespace lumra::plugin {
namespace {

// Highest rate the effect configures itself for; a block at a higher (or negative) rate is
// processed with the settings of the last supported rate instead of building absurdly long
// rings.
constexpr std::int32_t MaxSampleRate = 768000;

// Holds Reconfiguring once no block is in progress and no other application runs. A thread
// that waits pumps its window messages; an application started by one of those messages runs to
// its end before this one claims, so the two never overlap.
class ReconfigurationClaim {
 public:
  explicit ReconfigurationClaim(Instance& instance) : instance_(instance) {
    for (;;) {
      while (instance_.Processing.load()) PumpPendingMessages();
      bool expected = false;
      if (instance_.Reconfiguring.compare_exchange_strong(expected, true)) {
        // The audio thread sets Processing before it looks at Reconfiguring again.
        if (!instance_.Processing.load()) return;
        instance_.Reconfiguring.store(false);
      }
      PumpPendingMessages();
    }
  }
  ~ReconfigurationClaim() { instance_.Reconfiguring.store(false); }
  ReconfigurationClaim(const ReconfigurationClaim&) = delete;
  ReconfigurationClaim& operator=(const ReconfigurationClaim&) = delete;

 private:
  Instance& instance_;
};

// Length in samples of an all-pass line whose size knob is at v.
std::int32_t DiffuserLength(double v, std::int32_t rate) {
  return RoundToInt32((99.0 * v + 1.0) * rate / 360.0);
}

void Reconfigure(Instance& in, std::int32_t rate) {
  const std::array<double, KnobCount> p = ClampedKnobValues(in.Params);
  EffectObjects& fx = *in.Effects;

  const TPrimeTable primes(RoundToInt32(static_cast<double>(std::int64_t{rate} * 110) / 360.0));

  fx.PreDelays[0].SetLength(RoundToInt32((199.0 * (p[23] * p[23]) + 1.0) * rate / 1000.0));
  fx.PreDelays[1].SetLength(fx.PreDelays[0].Length());

  in.HighPassOn = p[21] != 0.0;
  in.LowPassOn = p[22] != 1.0;
  in.DiffuseOn = true;

  const auto rateF = static_cast<float>(rate);
  const auto lowCut = static_cast<float>(19980.0 * (p[22] * p[22]) + 20.0);
  const auto highCut = static_cast<float>(19980.0 * (p[21] * p[21]) + 20.0);
  for (int c = 0; c < 2; ++c) {
    fx.Filters[0][c].SetCutoff(lowCut, rateF);
    fx.Filters[1][c].SetCutoff(highCut, rateF);
  }

  {
    // Tap patterns depend on the "Color" value and the rate alone.
    RandomGenerator taps(static_cast<std::uint32_t>(RoundToInt((p[1] - 0.5) * 65535.0 * 65536.0)));

    const auto f = [](double x) { return static_cast<float>(x); };
    const float reverbTime = f(9.8 * p[0] + 0.1);
    const float lateTaps = f(28.0 * p[3] + 4.0);
    const float lateCutoff = f(9800.0 * (p[10] * p[10]) + 100.0);
    const std::array<double, 3> lateSizes{p[4], p[5], p[2]};
    const std::array<double, 3> lateBalances{p[24], p[25], p[27]};
    for (int u = 0; u < 3; ++u) {
      fx.Reverbs[u].Setup({.SampleRate = rate,
                           .DirectTap = false,
                           .ReverbTime = reverbTime,
                           .Size = f(90.0 * lateSizes[u] + 10.0),
                           .FeedSelf = f(1.0 - p[8]),
                           .FeedCross = f(p[8]),
                           .Balance = f(lateBalances[u]),
                           .TapCount = lateTaps,
                           .GainSpread = f(p[6]),
                           .PanSpread = f(p[9]),
                           .PanDelay = f(p[7]),
                           .DampCutoff = lateCutoff,
                           .DampDry = f(p[11])},
                          primes, taps);
    }
    fx.Reverbs[EarlyUnit].Setup({.SampleRate = rate,
                                 .DirectTap = true,
                                 .ReverbTime = reverbTime,
                                 .Size = f(90.0 * p[28] + 10.0),
                                 .FeedSelf = 0.0f,
                                 .FeedCross = 0.0f,
                                 .Balance = 0.0f,
                                 .TapCount = f(28.0 * p[26] + 4.0),
                                 .GainSpread = f(p[6]),
                                 .PanSpread = f(p[9]),
                                 .PanDelay = f(p[7]),
                                 .DampCutoff = 9900.0f,
                                 .DampDry = 100.0f},
                                primes, taps);

    in.DryLevel = f(p[18]);
    in.WetFactor = f(ExactPow(ExactPow(2.0, 1.0 / 6.0), 36.0 * (p[20] - 0.5)) * p[19] / 3.0);
    in.EarlyLevel = f(p[29]);

    // Set A (lines in series on the output), then set B (one line per late unit): the value
    // indices of each line's size and gain knobs.
    struct LineKnobs {
      int Size, Gain;
    };
    constexpr std::array<std::array<LineKnobs, 3>, 2> lineKnobs{{
        {{{12, 14}, {13, 16}, {15, 17}}},
        {{{30, 32}, {31, 34}, {33, 35}}},
    }};
    for (int set = 0; set < 2; ++set) {
      for (int c = 0; c < 2; ++c) {
        for (int line = 0; line < 3; ++line) {
          TDelay2& diffuser = fx.Diffusers[line][c][set];
          diffuser.SetLength(DiffuserLength(p[lineKnobs[set][line].Size], rate));
          diffuser.Gain = f(1.0 - p[lineKnobs[set][line].Gain]);
        }
      }
    }
  }
}

}  // namespace

void ApplyParameters(const ParamBlock* newBlock) {
  Instance& in = TheInstance();
  const FloatEnvironmentGuard floatEnvironment;
  {
    const ReconfigurationClaim claim(in);
    if (newBlock != nullptr) {
      std::memcpy(in.Params.Values.data(), newBlock->Values.data(), sizeof(in.Params.Values));
      in.SetPower(newBlock->Power);
      in.Params.Reserved = newBlock->Reserved;
    }
    const std::int32_t rate = in.SampleRate.load();
    if (rate > 0 && rate <= MaxSampleRate && in.Effects) Reconfigure(in, rate);
  }
  in.ChangeCount.fetch_add(1);
}

void ClearEffects() {
  Instance& in = TheInstance();
  const ReconfigurationClaim claim(in);
  if (in.Effects) in.Effects->ClearAll();
}

void TogglePower() {
  Instance& in = TheInstance();
  in.SetPower(in.Power() ^ 1);
  ClearEffects();
}

void LoadDefaults() {
  Instance& in = TheInstance();
  ParamBlock block = in.Params;
  for (int i = 0; i < KnobCount; ++i) block.Values[i] = LoadValues[i];
  block.Power = 1;
  in.ChangeCount.store(0);
  ApplyParameters(&block);
}

}  // namespace lumra::plugin
