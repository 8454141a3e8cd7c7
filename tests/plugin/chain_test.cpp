#include <algorithm>
#include <cmath>
#include <limits>

#include "plugin_fixture.h"

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace lumra::plugin {
namespace {

using ChainTest = PluginTest;

float PeakOf(const std::vector<float>& v) {
  float peak = 0.0f;
  for (float x : v) peak = std::max(peak, std::fabs(x));
  return peak;
}

TEST_F(ChainTest, DryOnlyPassesTheInputExactly) {
  Apply({{knob::DryLevel, 1.0f}, {knob::WetLevel, 0.0f}});
  for (int block = 0; block < 5; ++block) {
    std::vector<float> left = Noise(1000, block), right = Noise(1000, block + 9);
    const std::vector<float> l0 = left, r0 = right;
    Stereo(left, right, 44100);
    EXPECT_EQ(left, l0);
    EXPECT_EQ(right, r0);
    std::vector<float> mono = Noise(1000, block + 20);
    const std::vector<float> m0 = mono;
    Mono(mono, 44100);
    EXPECT_EQ(mono, m0);
  }
}

TEST_F(ChainTest, PeaksMeasureTheWetSignalWhileTheMeterIsOn) {
  Apply({{knob::WetLevel, 1.0f}, {knob::WetGain, 0.5f}});  // output = w / 3
  Show();
  std::vector<float> left = Noise(8192, 1), right = Noise(8192, 2);
  Stereo(left, right, 44100);
  EXPECT_NEAR(PeakOf(left), In().PeakLeft.load() / 3.0f, 1e-6f);
  EXPECT_NEAR(PeakOf(right), In().PeakRight.load() / 3.0f, 1e-6f);

  const float right0 = In().PeakRight.load();
  std::vector<float> mono = Noise(8192, 3);
  Mono(mono, 44100);
  EXPECT_NEAR(PeakOf(mono), In().PeakLeft.load(), 1e-6f) << "mono peak includes the factor";
  EXPECT_EQ(In().PeakRight.load(), right0) << "mono blocks leave the right peak alone";

  Hide();
  const float left0 = In().PeakLeft.load();
  Stereo(left, right, 44100);
  EXPECT_EQ(In().PeakLeft.load(), left0);
}

TEST_F(ChainTest, MonoLeavesTheRightChannelObjectsAlone) {
  std::vector<float> mono = Noise(5000, 4);
  Mono(mono, 44100);
  Mono(mono, 44100);
  EXPECT_EQ(Fx().PreDelays[1].Position(), 0);
  EXPECT_EQ(Fx().Filters[0][1].State, 0.0f);
  EXPECT_EQ(Fx().Filters[1][1].State, 0.0f);
  for (int line = 0; line < 3; ++line)
    for (int set = 0; set < 2; ++set) EXPECT_EQ(Fx().Diffusers[line][1][set].Position(), 0);
  EXPECT_NE(Fx().Filters[0][0].State, 0.0f);
}

// A switched-off filter keeps its state, so switched on again it goes on where it stopped.
TEST_F(ChainTest, SwitchedOffFiltersKeepTheirState) {
  std::vector<float> left = Noise(3000, 5), right = Noise(3000, 6);
  Stereo(left, right, 48000);  // both filters on at the load-time settings
  std::array<std::array<float, 2>, 2> before{};
  for (int kind = 0; kind < 2; ++kind) {
    for (int c = 0; c < 2; ++c) {
      before[kind][c] = Fx().Filters[kind][c].State;
      ASSERT_NE(before[kind][c], 0.0f) << "filter " << kind << ", channel " << c;
    }
  }
  Apply({{knob::HighPassFrequency, 0.0f}, {knob::LowPassFrequency, 1.0f}});
  left = Noise(3000, 7);
  right = Noise(3000, 8);
  Stereo(left, right, 48000);
  std::vector<float> mono = Noise(3000, 9);
  Mono(mono, 48000);
  for (int kind = 0; kind < 2; ++kind)
    for (int c = 0; c < 2; ++c)
      EXPECT_EQ(Fx().Filters[kind][c].State, before[kind][c])
          << "filter " << kind << ", channel " << c;
}

TEST_F(ChainTest, NonFiniteInputDoesNotPoisonTheEffect) {
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr float inf = std::numeric_limits<float>::infinity();
  std::vector<float> left = Noise(512, 7), right = Noise(512, 8);
  left[10] = nan;
  right[20] = inf;
  left[30] = -inf;
  Stereo(left, right, 44100);
  std::vector<float> mono = Noise(512, 9);
  mono[5] = nan;
  Mono(mono, 44100);
  for (int block = 0; block < 100; ++block) {
    std::vector<float> l = Noise(512, 100 + block), r = Noise(512, 200 + block);
    Stereo(l, r, 44100);
    for (std::size_t i = 0; i < l.size(); ++i)
      ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i])) << "block " << block << " sample " << i;
  }
}

// Only the Spread panel's "LPF Freq." turned to 0: the damping normalisation alone would give
// a loop gain of about 1.04, and the reverb would grow without end.
TEST_F(ChainTest, LowDampingCutoffStaysBoundedOverAMinuteOfNoise) {
  Apply({{knob::DampFrequency, 0.0f}});
  float firstSecond = 0.0f, lastSecond = 0.0f;
  const int blocks = 60 * 44100 / 1024;
  for (int block = 0; block < blocks; ++block) {
    std::vector<float> left = Noise(1024, block), right = Noise(1024, block + 50000);
    Stereo(left, right, 44100);
    const float peak = std::max(PeakOf(left), PeakOf(right));
    ASSERT_TRUE(std::isfinite(peak)) << "block " << block;
    if (block < 44) firstSecond = std::max(firstSecond, peak);
    if (block >= blocks - 44) lastSecond = std::max(lastSecond, peak);
  }
  EXPECT_LT(lastSecond, 4.0f * firstSecond + 1.0f);
  EXPECT_LT(lastSecond, 20.0f);
}

TEST_F(ChainTest, ReconfigurationAnswersWithSilenceOrLeavesInterleavedDataAlone) {
  std::vector<float> left = Noise(256, 1), right = Noise(256, 2);
  Stereo(left, right, 44100);
  In().PeakLeft = 0.5f;
  In().Reconfiguring = true;
  left = Noise(256, 3);
  right = Noise(256, 4);
  Stereo(left, right, 44100);
  EXPECT_EQ(PeakOf(left) + PeakOf(right), 0.0f);
  EXPECT_EQ(In().PeakLeft.load(), 0.0f);
  std::vector<float> interleaved = Noise(512, 5);
  const std::vector<float> before = interleaved;
  PostWaveData(interleaved.data(), 44100, 2, 256);
  EXPECT_EQ(interleaved, before);
  In().Reconfiguring = false;
}

#if defined(__SSE2__)
// Hosts often run audio threads with flush-to-zero and denormals-are-zero; the output must not
// depend on it, and the host's mode must survive the call.
TEST_F(ChainTest, HostFloatModesChangeNothing) {
  // Tiny samples on the left, which a careless float mode would flush; ordinary ones on the right.
  std::vector<std::vector<float>> inputs;
  for (int block = 0; block < 40; ++block) inputs.push_back(Noise(1024, block, block % 2 ? 0.5f : 1e-36f));
  const auto render = [&inputs] {
    std::vector<float> out;
    for (int block = 0; block < 20; ++block) {
      std::vector<float> left = inputs[2 * block], right = inputs[2 * block + 1];
      Stereo(left, right, 44100);
      out.insert(out.end(), left.begin(), left.end());
      out.insert(out.end(), right.begin(), right.end());
    }
    return out;
  };
  const std::vector<float> plain = render();
  Clear();
  const unsigned hostMode = _mm_getcsr() | 0x8040 | 0x6000;  // FTZ, DAZ, round toward zero
  const unsigned saved = _mm_getcsr();
  _mm_setcsr(hostMode);
  const std::vector<float> underHostMode = render();
  const unsigned after = _mm_getcsr();
  _mm_setcsr(saved);
  EXPECT_EQ(after, hostMode);
  EXPECT_EQ(underHostMode, plain);
}
#endif

}  // namespace
}  // namespace lumra::plugin
