#include "plugin/engine.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "common/exact_math.h"
#include "common/random.h"
#include "effects/prime_table.h"
#include "plugin/chain.h"
#include "plugin/float_environment.h"

namespace lumra::plugin {
namespace {

// Length in samples of an all-pass line whose size knob is at v.
std::int32_t DiffuserLength(double v, std::int32_t rate) {
  return RoundToInt32((99.0 * v + 1.0) * rate / 360.0);
}

void Reconfigure(ChainParts& parts, const ParamBlock& block, std::int32_t rate,
                 const TPrimeTable& primes) {
  const std::array<double, KnobCount> p = ClampedKnobValues(block);
  EffectObjects& fx = parts.Effects;
  ChainSettings& settings = parts.Settings;

  fx.PreDelays[0].SetLength(
      RoundToInt32((199.0 * (p[knob::Predelay] * p[knob::Predelay]) + 1.0) * rate / 1000.0));
  fx.PreDelays[1].SetLength(fx.PreDelays[0].Length());

  settings.HighPassOn = p[knob::HighPassFrequency] != 0.0;
  settings.LowPassOn = p[knob::LowPassFrequency] != 1.0;
  settings.DiffuseOn = true;

  const auto rateF = static_cast<float>(rate);
  const auto lowCut =
      static_cast<float>(19980.0 * (p[knob::LowPassFrequency] * p[knob::LowPassFrequency]) + 20.0);
  const auto highCut = static_cast<float>(
      19980.0 * (p[knob::HighPassFrequency] * p[knob::HighPassFrequency]) + 20.0);
  for (int c = 0; c < 2; ++c) {
    fx.Filters[0][c].SetCutoff(lowCut, rateF);
    fx.Filters[1][c].SetCutoff(highCut, rateF);
  }

  {
    // Tap patterns depend on the "Color" value and the rate alone.
    RandomGenerator taps(
        static_cast<std::uint32_t>(RoundToInt((p[knob::Color] - 0.5) * 65535.0 * 65536.0)));

    const auto f = [](double x) { return static_cast<float>(x); };
    const float reverbTime = f(9.8 * p[knob::ReverbTime] + 0.1);
    const float lateTaps = f(28.0 * p[knob::Density] + 4.0);
    const float lateCutoff = f(9800.0 * (p[knob::DampFrequency] * p[knob::DampFrequency]) + 100.0);
    const std::array<double, 3> lateSizes{p[knob::SizeX], p[knob::SizeY], p[knob::SizeZ]};
    const std::array<double, 3> lateBalances{p[knob::WarpSizeX], p[knob::WarpSizeY],
                                             p[knob::WarpSizeZ]};
    for (int u = 0; u < 3; ++u) {
      fx.Reverbs[u].Setup({.SampleRate = rate,
                           .DirectTap = false,
                           .ReverbTime = reverbTime,
                           .Size = f(90.0 * lateSizes[u] + 10.0),
                           .FeedSelf = f(1.0 - p[knob::FeedbackCross]),
                           .FeedCross = f(p[knob::FeedbackCross]),
                           .Balance = f(lateBalances[u]),
                           .TapCount = lateTaps,
                           .GainSpread = f(p[knob::SpreadLevel]),
                           .PanSpread = f(p[knob::SpreadPan]),
                           .PanDelay = f(p[knob::SpreadPhase]),
                           .DampCutoff = lateCutoff,
                           .DampDry = f(p[knob::DampHiRatio])},
                          primes, taps);
    }
    fx.Reverbs[EarlyUnit].Setup({.SampleRate = rate,
                                 .DirectTap = true,
                                 .ReverbTime = reverbTime,
                                 .Size = f(90.0 * p[knob::EarlySize] + 10.0),
                                 .FeedSelf = 0.0f,
                                 .FeedCross = 0.0f,
                                 .Balance = 0.0f,
                                 .TapCount = f(28.0 * p[knob::EarlyDensity] + 4.0),
                                 .GainSpread = f(p[knob::SpreadLevel]),
                                 .PanSpread = f(p[knob::SpreadPan]),
                                 .PanDelay = f(p[knob::SpreadPhase]),
                                 .DampCutoff = 9900.0f,
                                 .DampDry = 100.0f},
                                primes, taps);

    settings.DryLevel = f(p[knob::DryLevel]);
    settings.WetFactor = f(ExactPow(ExactPow(2.0, 1.0 / 6.0), 36.0 * (p[knob::WetGain] - 0.5)) *
                           p[knob::WetLevel] / 3.0);
    settings.EarlyLevel = f(p[knob::EarlyLevel]);

    // Set A (lines in series on the output), then set B (one line per late unit): each line's
    // size and gain knobs.
    struct LineKnobs {
      int Size, Gain;
    };
    constexpr std::array<std::array<LineKnobs, 3>, 2> lineKnobs{{
        {{{knob::OutputSize1, knob::OutputGain3},
          {knob::OutputSize2, knob::OutputGain1},
          {knob::OutputSize3, knob::OutputGain2}}},
        {{{knob::LateSizeX, knob::LateGainZ},
          {knob::LateSizeY, knob::LateGainX},
          {knob::LateSizeZ, knob::LateGainY}}},
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

// The prime table depends on the rate alone: kept while the rate stays, so that reconfiguring
// for new knob values allocates nothing.
class PrimeCache {
 public:
  const TPrimeTable& For(std::int32_t rate) {
    const std::int32_t limit = RoundToInt32(static_cast<double>(std::int64_t{rate} * 110) / 360.0);
    if (!table_ || table_->Limit() != limit) table_.emplace(limit);
    return *table_;
  }

 private:
  std::optional<TPrimeTable> table_;
};

Engine::Engine()
    : parts_(std::make_unique<ChainParts>()), primes_(std::make_unique<PrimeCache>()) {}
Engine::~Engine() = default;
Engine::Engine(Engine&&) noexcept = default;
Engine& Engine::operator=(Engine&&) noexcept = default;

void Engine::Configure(const ParamBlock& block, std::int32_t sampleRate) {
  if (sampleRate <= 0 || sampleRate > MaxSampleRate) return;
  const FloatEnvironmentGuard floatEnvironment;
  Reconfigure(*parts_, block, sampleRate, primes_->For(sampleRate));
}

void Engine::Reserve(std::int32_t sampleRate, std::int32_t maxFrames) {
  if (sampleRate <= 0 || sampleRate > MaxSampleRate) return;
  const FloatEnvironmentGuard floatEnvironment;
  // Every length grows with its size knob and the pre-delay; a late unit's left ring is longest
  // at Warp balance 0, its right one at 1.
  for (const float balance : {0.0f, 1.0f}) {
    ParamBlock longest = LoadTimeBlock();
    for (const int size : {knob::SizeX, knob::SizeY, knob::SizeZ, knob::EarlySize, knob::Predelay,
                           knob::OutputSize1, knob::OutputSize2, knob::OutputSize3,
                           knob::LateSizeX, knob::LateSizeY, knob::LateSizeZ})
      longest.Values[size] = 1.0f;
    for (const int warp : {knob::WarpSizeX, knob::WarpSizeY, knob::WarpSizeZ})
      longest.Values[warp] = balance;
    Reconfigure(*parts_, longest, sampleRate, primes_->For(sampleRate));
  }
  ChainBuffers& b = parts_->Buffers;
  for (TWavBuffer* buffer : {&b.Dry[0], &b.Pre, &b.Early[0], &b.Early[1], &b.Pair[0][0], &b.Pair[0][1],
                             &b.Pair[1][0], &b.Pair[1][1], &b.Interleaved[0], &b.Interleaved[1]})
    buffer->SetCount(std::max(buffer->Count(), maxFrames));
}

void Engine::Process(float* const* channels, std::int32_t channelCount, std::int32_t n) {
  if (channels == nullptr || n <= 0) return;
  const FloatEnvironmentGuard floatEnvironment;
  std::array<float, 2>* peaks = metering_ ? &peaks_ : nullptr;
  if (channelCount == 1 && channels[0] != nullptr) {
    RunMonoChain(*parts_, channels[0], n, peaks);
  } else if (channelCount == 2 && channels[0] != nullptr && channels[1] != nullptr) {
    RunStereoChain(*parts_, channels[0], channels[1], n, peaks);
  }
}

void Engine::ProcessInterleaved(float* data, std::int32_t channelCount, std::int32_t n) {
  if (data == nullptr || n <= 0 || (channelCount != 1 && channelCount != 2)) return;
  std::array<TWavBuffer, 2>& parts = parts_->Buffers.Interleaved;
  std::array<float*, 2> channels{};
  for (std::int32_t c = 0; c < channelCount; ++c) {
    parts[c].Deinterleave(data, n, channelCount, c);
    channels[c] = parts[c].Data();
  }
  Process(channels.data(), channelCount, n);
  for (std::int32_t c = 0; c < channelCount; ++c) parts[c].Interleave(data, channelCount, c);
}

void Engine::Clear() { parts_->Effects.ClearAll(); }

const EffectObjects& Engine::Effects() const { return parts_->Effects; }

const ChainSettings& Engine::Settings() const { return parts_->Settings; }

}  // namespace lumra::plugin
