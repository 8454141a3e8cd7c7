// Engines are independent values: several in one process, on several threads, each sound
// exactly as it would alone. Run under ThreadSanitizer, any state they share is reported.

#include "plugin/engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "plugin/param_block.h"
#include "test_thread.h"

namespace lumra::plugin {
namespace {

struct Job {
  ParamBlock Block;
  std::int32_t Rate;
  std::int32_t Channels;
  unsigned Seed;
};

// Blocks of changing sizes, interleaved and planar in turn, with a mid-stream change of the
// Color knob (new tap patterns) and a clear.
std::vector<float> Render(const Job& job) {
  std::mt19937 gen(job.Seed);
  std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
  Engine engine;
  engine.SetMetering(true);
  engine.Configure(job.Block, job.Rate);
  std::vector<float> out;
  for (int b = 0; b < 40; ++b) {
    const std::int32_t n = 37 + (b * 389) % 1500;
    if (b == 20) {
      ParamBlock changed = job.Block;
      changed.Values[knob::Color] = 0.9f;
      engine.Configure(changed, job.Rate);
    }
    if (b == 30) engine.Clear();
    std::vector<float> block(static_cast<std::size_t>(n) * job.Channels);
    for (float& x : block) x = b < 25 ? noise(gen) : 0.0f;
    if (b % 2 == 0) {
      engine.ProcessInterleaved(block.data(), job.Channels, n);
    } else {
      std::vector<float*> channels;
      for (std::int32_t c = 0; c < job.Channels; ++c) channels.push_back(block.data() + c * n);
      engine.Process(channels.data(), job.Channels, n);
    }
    out.insert(out.end(), block.begin(), block.end());
    out.push_back(engine.Peaks()[0]);
  }
  return out;
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(float) * a.size()) == 0;
}

TEST(Engine, EnginesOnSeveralThreadsSoundAsEachAlone) {
  ParamBlock dense = LoadTimeBlock();
  dense.Values[knob::Density] = 1.0f;
  dense.Values[knob::EarlyDensity] = 1.0f;
  dense.Values[knob::ReverbTime] = 0.7f;
  const std::vector<Job> jobs{
      {LoadTimeBlock(), 48000, 2, 1}, {dense, 44100, 2, 2}, {dense, 22050, 1, 3}};
  std::vector<std::vector<float>> alone;
  for (const Job& job : jobs) alone.push_back(Render(job));
  EXPECT_FALSE(SameBits(alone[0], alone[1])) << "the settings must make a difference";

  std::vector<std::vector<float>> together(jobs.size());
  {
    std::vector<std::unique_ptr<lumra::testing::TestThread>> threads;  // joined at the brace
    for (std::size_t j = 0; j < jobs.size(); ++j)
      threads.push_back(
          std::make_unique<lumra::testing::TestThread>([&, j] { together[j] = Render(jobs[j]); }));
  }
  for (std::size_t j = 0; j < jobs.size(); ++j)
    EXPECT_TRUE(SameBits(together[j], alone[j])) << "engine " << j;
}

}  // namespace
}  // namespace lumra::plugin
