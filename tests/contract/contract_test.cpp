// What a host may rely on, checked through the fifteen entry points only. Built twice: against
// the linked library natively, and as a Win32 program that loads lreverb.zqp under Wine.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "plugin/param_block.h"
#include "plugin_api.h"

namespace lumra::testing {
namespace {

std::vector<float> Noise(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::vector<float> v(n);
  for (float& x : v) x = static_cast<float>(gen() % 2001) / 1000.0f - 1.0f;
  return v;
}

class Contract : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(plugin.Error(), ""); }

  ParamBlock Block() const {
    void* live = nullptr;
    std::int32_t size = 0;
    plugin->GetData(&live, &size);
    ParamBlock block;
    std::memcpy(&block, live, sizeof block);
    return block;
  }

  // Runs a stereo block through PostWave and returns both channels, left then right.
  std::vector<float> Stereo(std::vector<float> left, std::vector<float> right, std::int32_t rate) {
    std::array<float*, 2> channels{left.data(), right.data()};
    plugin->PostWave(channels.data(), rate, 2, static_cast<std::int32_t>(left.size()));
    left.insert(left.end(), right.begin(), right.end());
    return left;
  }

  LoadedPlugin plugin;
};

TEST_F(Contract, LoadTimeStateNameAndVersion) {
  EXPECT_STREQ(plugin->GetPlugName(), "L Reverb|Quorel Lumra Reverb");
  EXPECT_EQ(plugin->GetPlugVersion(), 101);
  EXPECT_EQ(plugin->GetPlugChanged(), 1);
  EXPECT_EQ(plugin->GetActivePlug(), 1);
  void* live = nullptr;
  std::int32_t size = 0;
  plugin->GetData(&live, &size);
  ASSERT_NE(live, nullptr);
  EXPECT_EQ(size, 148);
  const auto* bytes = static_cast<const std::uint8_t*>(live);
  EXPECT_EQ((std::array<int, 4>{bytes[144], bytes[145], bytes[146], bytes[147]}),
            (std::array<int, 4>{1, 0, 0, 0}));
  EXPECT_EQ(Block().Values[0], 0.2f);
  EXPECT_EQ(Block().Values[12], 0.13575f);
}

TEST_F(Contract, SetDataTakesExactly148BytesAndCountsEveryApplication) {
  ParamBlock block = Block();
  block.Values[0] = 0.7f;
  block.Power = 2;
  block.Reserved = {9, 8, 7};
  std::array<std::uint8_t, 149> padded{};
  std::memcpy(padded.data(), &block, sizeof block);
  plugin->SetData(padded.data(), 147);
  plugin->SetData(padded.data(), 149);
  EXPECT_EQ(plugin->GetPlugChanged(), 1);
  EXPECT_EQ(Block().Values[0], 0.2f);

  plugin->SetData(&block, 148);
  plugin->SetData(&block, 148);
  EXPECT_EQ(plugin->GetPlugChanged(), 3);
  const ParamBlock stored = Block();
  EXPECT_EQ(std::memcmp(&block, &stored, sizeof block), 0) << "the block comes back as written";
  EXPECT_EQ(plugin->GetActivePlug(), 2) << "the stored Power byte itself";

  Stereo(Noise(64, 1), Noise(64, 2), 44100);
  EXPECT_EQ(plugin->GetPlugChanged(), 4) << "a new rate applies once";
  Stereo(Noise(64, 1), Noise(64, 2), 44100);
  EXPECT_EQ(plugin->GetPlugChanged(), 4);
  Stereo(Noise(64, 1), Noise(64, 2), 48000);
  EXPECT_EQ(plugin->GetPlugChanged(), 5);
}

TEST_F(Contract, PowerOffPassesBothEntryPointsBitForBit) {
  Stereo(Noise(256, 3), Noise(256, 4), 44100);
  ParamBlock block = Block();
  block.Power = 0;
  plugin->SetData(&block, 148);
  EXPECT_EQ(plugin->GetActivePlug(), 0);
  const std::int32_t changes = plugin->GetPlugChanged();

  std::vector<float> left = Noise(300, 5), right = Noise(300, 6);
  left[7] = -0.0f;
  right[9] = 1e-40f;
  const std::vector<float> both = Stereo(left, right, 96000);
  EXPECT_EQ(std::memcmp(both.data(), left.data(), left.size() * 4), 0);
  EXPECT_EQ(std::memcmp(both.data() + 300, right.data(), right.size() * 4), 0);
  EXPECT_EQ(plugin->GetPlugChanged(), changes + 1) << "the new rate is still applied";

  std::vector<float> interleaved = Noise(600, 7);
  const std::vector<float> before = interleaved;
  plugin->PostWaveData(interleaved.data(), 96000, 2, 300);
  EXPECT_EQ(std::memcmp(interleaved.data(), before.data(), before.size() * 4), 0);

  block.Power = 1;
  plugin->SetData(&block, 148);
  std::vector<float> mono = Noise(300, 8);
  const std::vector<float> dry = mono;
  float* channel = mono.data();
  plugin->PostWave(&channel, 96000, 1, 300);
  EXPECT_NE(mono, dry) << "switched on again, the effect processes";
}

TEST_F(Contract, UnsupportedLayoutsAndEmptyBlocksAreLeftAlone) {
  std::array<std::vector<float>, 3> buffers{Noise(128, 1), Noise(128, 2), Noise(128, 3)};
  const auto before = buffers;
  std::array<float*, 3> channels{buffers[0].data(), buffers[1].data(), buffers[2].data()};
  plugin->PostWave(channels.data(), 44100, 3, 128);
  EXPECT_EQ(buffers, before);
  plugin->PostWaveData(buffers[0].data(), 44100, 3, 40);
  EXPECT_EQ(buffers, before);
  plugin->PostWave(nullptr, 44100, 2, 128);
  plugin->PostWaveData(nullptr, 44100, 2, 128);
  plugin->PostWave(channels.data(), 44100, 2, 0);
  plugin->PostWave(channels.data(), 44100, 2, -5);
  EXPECT_EQ(buffers, before);
  plugin->GetData(nullptr, nullptr);
  plugin->SetData(nullptr, 148);
  plugin->SetText(nullptr);
  plugin->SetText("");
}

TEST_F(Contract, RateZeroGivesSilenceUntilARateArrives) {
  std::vector<float> left = Noise(200, 1), right = Noise(200, 2);
  const std::vector<float> silent = Stereo(left, right, 0);
  for (float x : silent) ASSERT_EQ(x, 0.0f);
  EXPECT_EQ(plugin->GetPlugChanged(), 1);

  std::vector<float> impulse(4000, 0.0f);
  impulse[0] = 1.0f;
  const std::vector<float> wet = Stereo(impulse, impulse, 44100);
  EXPECT_EQ(plugin->GetPlugChanged(), 2);
  float energy = 0.0f;
  for (float x : wet) energy += x * x;
  EXPECT_GT(energy, 0.0f);
}

TEST_F(Contract, ClearSilencesEveryMemory) {
  for (int i = 0; i < 20; ++i) Stereo(Noise(2048, i), Noise(2048, i + 50), 44100);
  std::vector<float> mono = Noise(2048, 99);
  float* channel = mono.data();
  plugin->PostWave(&channel, 44100, 1, 2048);

  plugin->Clear();
  const std::vector<float> zeros(4096, 0.0f);
  for (int i = 0; i < 3; ++i) {
    const std::vector<float> out = Stereo(zeros, zeros, 44100);
    for (std::size_t s = 0; s < out.size(); ++s) ASSERT_EQ(out[s], 0.0f) << "block " << i << " sample " << s;
    std::vector<float> silentMono(4096, 0.0f);
    channel = silentMono.data();
    plugin->PostWave(&channel, 44100, 1, 4096);
    for (float x : silentMono) ASSERT_EQ(x, 0.0f);
    std::vector<float> interleaved(8192, 0.0f);
    plugin->PostWaveData(interleaved.data(), 44100, 2, 4096);
    for (float x : interleaved) ASSERT_EQ(x, 0.0f);
  }
}

TEST_F(Contract, StartAndStopChangeNothing) {
  std::vector<float> first, second;
  for (int i = 0; i < 4; ++i) {
    if (i % 2 == 0) plugin->Start();
    const std::vector<float> out = Stereo(Noise(500, i), Noise(500, 10 + i), 44100);
    first.insert(first.end(), out.begin(), out.end());
    plugin->Stop();
    plugin->Stop();
  }
  plugin->Clear();
  for (int i = 0; i < 4; ++i) {
    const std::vector<float> out = Stereo(Noise(500, i), Noise(500, 10 + i), 44100);
    second.insert(second.end(), out.begin(), out.end());
  }
  EXPECT_EQ(first, second);
}

TEST_F(Contract, InterleavedAndPlanarBlocksGiveTheSameSound) {
  const std::vector<float> left = Noise(1500, 1), right = Noise(1500, 2);
  const std::vector<float> planar = Stereo(left, right, 48000);
  plugin->Clear();
  std::vector<float> interleaved(3000);
  for (int i = 0; i < 1500; ++i) {
    interleaved[2 * i] = left[i];
    interleaved[2 * i + 1] = right[i];
  }
  plugin->PostWaveData(interleaved.data(), 48000, 2, 1500);
  for (int i = 0; i < 1500; ++i) {
    ASSERT_EQ(interleaved[2 * i], planar[i]) << "left sample " << i;
    ASSERT_EQ(interleaved[2 * i + 1], planar[1500 + i]) << "right sample " << i;
  }
}

}  // namespace
}  // namespace lumra::testing
