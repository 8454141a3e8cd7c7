// One thread streams audio while another keeps applying new parameter blocks, as a host's audio
// thread and a knob drag would. Run under ThreadSanitizer, any access to the effect objects that
// is not ordered by the handshake is reported as a race.

#include <atomic>
#include <cmath>
#include <thread>

#include "plugin_fixture.h"

namespace lumra::plugin {
namespace {

using ThreadsTest = PluginTest;

TEST_F(ThreadsTest, StreamingAndApplyingNeverOverlap) {
  std::vector<float> warm(64, 0.0f);
  Stereo(warm, warm, 44100);
  std::atomic<bool> done{false};
  std::atomic<int> silentBlocks{0}, processedBlocks{0};

  std::thread audio([&] {
    std::vector<float> left(256), right(256);
    int i = 0;
    while (!done.load()) {
      left = Noise(256, i);
      right = Noise(256, i + 1);
      std::array<float*, 2> channels{left.data(), right.data()};
      PostWave(channels.data(), 44100, 2, 256);
      std::vector<float> interleaved = Noise(512, i + 2);
      PostWaveData(interleaved.data(), 44100, 2, 256);
      bool silent = true;
      for (float x : left) {
        EXPECT_TRUE(std::isfinite(x));
        silent = silent && x == 0.0f;
      }
      (silent ? silentBlocks : processedBlocks).fetch_add(1);
      ++i;
    }
  });

  for (int i = 0; i < 60; ++i) {
    Apply({{1, static_cast<float>(i % 10) / 10.0f}, {3, static_cast<float>(i % 7) / 7.0f}});
    std::this_thread::yield();
  }
  // An application from the audio side at the same time as this one: a new rate.
  std::thread rateChange([] {
    std::vector<float> left(128, 0.1f), right(128, 0.1f);
    std::array<float*, 2> channels{left.data(), right.data()};
    PostWave(channels.data(), 48000, 2, 128);
  });
  Apply({{0, 0.5f}});
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
