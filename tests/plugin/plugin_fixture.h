#pragma once
// A freshly loaded plug-in instance per test, reached both through its entry points and through
// its internals.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "plugin/chain.h"
#include "plugin/entry_points.h"
#include "plugin/instance.h"

namespace lumra::plugin {

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadLibraryInstance(); }
  void TearDown() override { Destroy(); }

  static Instance& In() { return TheInstance(); }
  static const EffectObjects& Fx() { return TheInstance().Reverb->Effects(); }
  static const ChainSettings& Settings() { return TheInstance().Reverb->Settings(); }

  static ParamBlock Block() { return TheInstance().Params; }
  static void Apply(const ParamBlock& block) { SetData(&block, sizeof block); }
  static void Apply(std::initializer_list<std::pair<int, float>> changes) {
    ParamBlock block = Block();
    for (const auto& [index, value] : changes) block.Values[index] = value;
    Apply(block);
  }

  static std::vector<float> Noise(std::size_t n, unsigned seed, float level = 0.5f) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-level, level);
    std::vector<float> v(n);
    for (float& x : v) x = d(gen);
    return v;
  }

  // One stereo block through PostWave, in place.
  static void Stereo(std::vector<float>& left, std::vector<float>& right, std::int32_t rate) {
    std::array<float*, 2> channels{left.data(), right.data()};
    PostWave(channels.data(), rate, 2, static_cast<std::int32_t>(left.size()));
  }
  static void Mono(std::vector<float>& samples, std::int32_t rate) {
    float* channel = samples.data();
    PostWave(&channel, rate, 1, static_cast<std::int32_t>(samples.size()));
  }
};

}  // namespace lumra::plugin
