#include <cmath>
#include <limits>

#include "plugin_fixture.h"

namespace lumra::plugin {
namespace {

using ApplyParametersTest = PluginTest;

TEST_F(ApplyParametersTest, LoadTimeSettingsAt44100) {
  std::vector<float> block(16, 0.0f);
  Mono(block, 44100);
  EXPECT_EQ(Fx().PreDelays[0].Length(), 132);
  EXPECT_EQ(Fx().PreDelays[1].Length(), 132);
  EXPECT_EQ(Fx().Diffusers[0][0][0].Length(), 1769);
  EXPECT_EQ(Fx().Diffusers[0][1][0].Length(), 1769);
  EXPECT_EQ(Fx().Diffusers[0][0][0].Gain, static_cast<float>(1.0 - 0.658f));
  EXPECT_NEAR(Settings().WetFactor, 0.21992, 1e-5);
  EXPECT_EQ(Settings().DryLevel, 0.0f);
  EXPECT_EQ(Settings().EarlyLevel, 1.0f);
  EXPECT_TRUE(Settings().HighPassOn);
  EXPECT_TRUE(Settings().LowPassOn);
  // Ring lengths come from primes up to Round(rate * 110 / 360): the longest possible ring.
  EXPECT_LE(Fx().Reverbs[0].Length[1], 13475);
}

TEST_F(ApplyParametersTest, FilterSwitchesAreExactComparisons) {
  std::vector<float> block(16, 0.0f);
  Mono(block, 48000);
  Apply({{knob::HighPassFrequency, 0.0f}, {knob::LowPassFrequency, 1.0f}});
  EXPECT_FALSE(Settings().HighPassOn);
  EXPECT_FALSE(Settings().LowPassOn);
  Apply({{knob::HighPassFrequency, 0.0001f}, {knob::LowPassFrequency, 0.9999f}});
  EXPECT_TRUE(Settings().HighPassOn);
  EXPECT_TRUE(Settings().LowPassOn);
  EXPECT_NEAR(Fx().Filters[1][0].Coef, OnePoleForCutoff(20.0002f, 48000.0f).Coef, 1e-3);
}

TEST_F(ApplyParametersTest, WetFactorSpansOneEighthToEightTimesAThird) {
  std::vector<float> block(16, 0.0f);
  Mono(block, 44100);
  const std::array<std::pair<float, double>, 3> cases{{{0.5f, 1.0 / 3}, {1.0f, 8.0 / 3}, {0.0f, 1.0 / 24}}};
  for (const auto& [gain, expected] : cases) {
    Apply({{knob::WetLevel, 1.0f}, {knob::WetGain, gain}});
    EXPECT_NEAR(Settings().WetFactor, expected, 1e-6) << "Wet Gain " << gain;
  }
}

TEST_F(ApplyParametersTest, SameBlockAndRateGiveTheSameReverbStructures) {
  std::vector<float> block(16, 0.0f);
  Stereo(block, block, 48000);
  const auto snapshot = [] {
    std::vector<std::int64_t> s;
    for (const auto& unit : Fx().Reverbs) {
      s.insert(s.end(), unit.Length.begin(), unit.Length.end());
      for (int ch = 0; ch < 2; ++ch)
        for (int t = 0; t < unit.TapCount[ch]; ++t) {
          s.push_back(unit.TapOffset[ch][t]);
          std::int32_t bits;
          std::memcpy(&bits, &unit.TapGain[ch][t], 4);
          s.push_back(bits);
        }
    }
    return s;
  };
  const auto first = snapshot();
  Apply(Block());
  EXPECT_EQ(snapshot(), first);
  Apply({{knob::Color, 0.9f}});
  EXPECT_NE(snapshot(), first) << "another Color gives another tap pattern";
}

TEST_F(ApplyParametersTest, NothingIsConfiguredWithoutASampleRate) {
  Apply({{knob::ReverbTime, 0.9f}});
  EXPECT_EQ(GetPlugChanged(), 2);
  EXPECT_EQ(Fx().PreDelays[0].Length(), 0);
  EXPECT_EQ(Fx().Reverbs[0].Length[0], 0);
}

// Values a knob cannot produce reach the block from hosts and presets: they must give a
// working, bounded effect, and the block keeps the bytes as written.
TEST_F(ApplyParametersTest, OutOfRangeAndNonFiniteValuesAreHarmless) {
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr float inf = std::numeric_limits<float>::infinity();
  std::vector<float> warmup(16, 0.0f);
  Stereo(warmup, warmup, 44100);
  for (const float bad : {nan, inf, -inf, -1e30f, 1e30f, -3.0f, 7.0f}) {
    ParamBlock block = Block();
    for (float& v : block.Values) v = bad;
    Apply(block);
    EXPECT_EQ(std::memcmp(&In().Params, &block, sizeof block), 0);
    std::vector<float> left = Noise(4096, 1), right = Noise(4096, 2);
    Stereo(left, right, 44100);
    for (std::size_t i = 0; i < left.size(); ++i) {
      ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << "value " << bad << " sample " << i;
      ASSERT_LT(std::fabs(left[i]), 100.0f);
    }
  }
}

TEST_F(ApplyParametersTest, AbsurdSampleRatesConfigureNothingAndCrashNothing) {
  for (const std::int32_t rate : {-44100, 1, 999, 100000000, std::numeric_limits<std::int32_t>::max()}) {
    std::vector<float> left = Noise(256, 3), right = Noise(256, 4);
    Stereo(left, right, rate);
    for (float x : left) ASSERT_TRUE(std::isfinite(x)) << "rate " << rate;
  }
  // The settings of the last supported rate (999 Hz) stay.
  EXPECT_EQ(Fx().PreDelays[0].Length(), 3);
}

}  // namespace
}  // namespace lumra::plugin
