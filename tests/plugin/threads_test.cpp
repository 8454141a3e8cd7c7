// One thread streams audio while another keeps applying new parameter blocks, as a host's audio
// thread and a knob drag would. Run under ThreadSanitizer, any access to the effect objects that
// is not ordered by the handshake is reported as a race.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "plugin_fixture.h"
#include "test_thread.h"

namespace lumra::plugin {
namespace {

using ThreadsTest = PluginTest;

bool AllZero(const std::vector<float>& v) {
  return std::all_of(v.begin(), v.end(), [](float x) { return x == 0.0f; });
}

bool AllFinite(const std::vector<float>& v) {
  return std::all_of(v.begin(), v.end(), [](float x) { return std::isfinite(x); });
}

std::vector<float> Channel(const std::vector<float>& interleaved, std::size_t c) {
  std::vector<float> samples;
  for (std::size_t i = c; i < interleaved.size(); i += 2) samples.push_back(interleaved[i]);
  return samples;
}

TEST_F(ThreadsTest, StreamingAndApplyingNeverOverlap) {
  std::vector<float> warm(64, 0.0f);
  Stereo(warm, warm, 44100);
  std::atomic<bool> done{false};
  std::atomic<int> processedBlocks{0};

  lumra::testing::TestThread audio([&] {
    std::vector<float> left(256), right(256);
    int i = 0;
    while (!done.load()) {
      left = Noise(256, i);
      right = Noise(256, i + 1);
      std::array<float*, 2> channels{left.data(), right.data()};
      PostWave(channels.data(), 44100, 2, 256);
      const std::vector<float> dry = Noise(512, i + 2);
      std::vector<float> interleaved = dry;
      PostWaveData(interleaved.data(), 44100, 2, 256);
      // A block that meets a reconfiguration is answered with silence, or, interleaved, left
      // as it was; any other block is processed on both channels.
      const bool silent = AllZero(left) && AllZero(right);
      EXPECT_TRUE(silent || (!AllZero(left) && !AllZero(right))) << "block " << i;
      EXPECT_TRUE(AllFinite(left) && AllFinite(right) && AllFinite(interleaved)) << "block " << i;
      EXPECT_TRUE(interleaved == dry || (Channel(interleaved, 0) != Channel(dry, 0) &&
                                         Channel(interleaved, 1) != Channel(dry, 1)))
          << "interleaved block " << i;
      if (!silent) processedBlocks.fetch_add(1);
      ++i;
    }
  });

  // Knob moves while blocks stream: wait, boundedly, until the streaming thread is under way.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (processedBlocks.load() == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));

  for (int i = 0; i < 60; ++i) {
    Apply({{knob::Color, static_cast<float>(i % 10) / 10.0f},
           {knob::Density, static_cast<float>(i % 7) / 7.0f}});
    std::this_thread::yield();
  }
  // An application from the audio side at the same time as this one: a new rate.
  lumra::testing::TestThread rateChange([] {
    std::vector<float> left(128, 0.1f), right(128, 0.1f);
    std::array<float*, 2> channels{left.data(), right.data()};
    PostWave(channels.data(), 48000, 2, 128);
  });
  Apply({{knob::ReverbTime, 0.5f}});
  rateChange.join();
  done = true;
  audio.join();
  // Load, the first rate, 61 applications, the new rate; and the streaming thread's return to
  // 44100 Hz if it got another block in before it stopped.
  const int expected = 1 + 1 + 61 + 1 + (In().SampleRate.load() == 44100 ? 1 : 0);
  EXPECT_EQ(GetPlugChanged(), expected);
  EXPECT_GT(processedBlocks.load(), 0);
}

}  // namespace
}  // namespace lumra::plugin
