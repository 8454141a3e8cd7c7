// Every kernel path this processor offers against the portable code, bit for bit: the kernels
// on awkward lengths and values, and the whole chain through the plug-in's entry points.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <random>
#include <vector>

#include "effects/kernel_path.h"
#include "effects/tap_sums.h"
#include "effects/vector_kernels.h"
#include "plugin/entry_points.h"
#include "plugin/param_block.h"

namespace lumra {
namespace {

std::vector<KernelPath> VectorPaths() {
  std::vector<KernelPath> paths = SupportedKernelPaths();
  std::erase(paths, KernelPath::Portable);
  return paths;
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(float) * a.size()) == 0;
}

// Ordinary samples mixed with values near the flush threshold, zeros of both signs, huge values
// and the odd infinity, so that rounding, flushing and overflow all get exercised.
std::vector<float> Samples(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> d(-1.0f, 1.0f);
  std::vector<float> v(n);
  for (std::size_t i = 0; i < n; ++i) {
    switch (gen() % 16) {
      case 0: v[i] = d(gen) * 0x1p-47f; break;
      case 1: v[i] = gen() % 2 ? 0.0f : -0.0f; break;
      case 2: v[i] = d(gen) * 1e37f; break;
      case 3: v[i] = gen() % 64 ? d(gen) : std::numeric_limits<float>::infinity(); break;
      default: v[i] = d(gen);
    }
  }
  return v;
}

const std::vector<std::int32_t> Lengths{1,  2,  3,  4,  7,  8,  9,   15,  16, 17,
                                        31, 32, 33, 63, 64, 65, 100, 128, 256};

TEST(KernelPaths, TapSumsMatchThePortableCode) {
  for (const KernelPath path : VectorPaths()) {
    for (const std::int32_t taps : {0, 1, 5, 37, 128}) {
      const std::vector<float> history = Samples(4096, taps + 1);
      std::mt19937 gen(taps);
      std::vector<const float*> runs;
      std::vector<float> gains;
      for (std::int32_t t = 0; t < taps; ++t) {
        runs.push_back(history.data() + gen() % 3800);
        gains.push_back(std::uniform_real_distribution<float>(-1.5f, 1.5f)(gen));
      }
      for (const std::int32_t n : Lengths) {
        std::vector<float> expected(n), actual(n);
        SumTapRun(expected.data(), runs.data(), gains.data(), taps, n, 0.37f);
        {
          const ScopedKernelPath force(path);
          SumTapRun(actual.data(), runs.data(), gains.data(), taps, n, 0.37f);
        }
        EXPECT_TRUE(SameBits(actual, expected))
            << KernelPathName(path) << ", " << taps << " taps, " << n << " samples";
      }
    }
  }
}

TEST(KernelPaths, AllPassAndFeedbackRunsMatchThePortableCode) {
  for (const KernelPath path : VectorPaths()) {
    for (const std::int32_t n : Lengths) {
      const std::vector<float> block = Samples(n, n), ring = Samples(n, n + 1000);
      const std::vector<float> other = Samples(n, n + 2000);
      std::vector<float> expectedBlock = block, expectedRing = ring, expectedSum(n);
      AllPassRun(expectedBlock.data(), expectedRing.data(), n, 0.61f);
      FeedbackRun(expectedSum.data(), ring.data(), other.data(), block.data(), n, 0.3f, -0.65f);

      const ScopedKernelPath force(path);
      std::vector<float> actualBlock = block, actualRing = ring, actualSum(n);
      AllPassRun(actualBlock.data(), actualRing.data(), n, 0.61f);
      FeedbackRun(actualSum.data(), ring.data(), other.data(), block.data(), n, 0.3f, -0.65f);
      EXPECT_TRUE(SameBits(actualBlock, expectedBlock)) << KernelPathName(path) << ", " << n;
      EXPECT_TRUE(SameBits(actualRing, expectedRing)) << KernelPathName(path) << ", " << n;
      EXPECT_TRUE(SameBits(actualSum, expectedSum)) << KernelPathName(path) << ", " << n;
    }
  }
}

enum class Layout { Planar, Interleaved };

// A fresh instance on path renders the noise in blocks of changing sizes (short ones, ones
// around the chain's chunk, long ones) and returns what the host buffers hold afterwards.
std::vector<float> RenderChain(KernelPath path, const std::vector<float>& input, int channels,
                               Layout layout, bool densest) {
  const ScopedKernelPath force(path);
  plugin::LoadLibraryInstance();
  ParamBlock params = LoadTimeBlock();
  if (densest) params.Values[3] = params.Values[26] = 1.0f;
  plugin::SetData(&params, sizeof params);

  const std::int32_t frames = static_cast<std::int32_t>(input.size()) / channels;
  std::vector<float> out = input;
  std::vector<std::vector<float>> planes(channels);
  const std::vector<std::int32_t> blocks{1, 7, 64, 127, 128, 129, 512, 1000, 4096, 300};
  std::size_t next = 0;
  for (std::int32_t at = 0; at < frames;) {
    const std::int32_t n = std::min(blocks[next++ % blocks.size()], frames - at);
    float* frame = out.data() + static_cast<std::ptrdiff_t>(at) * channels;
    if (layout == Layout::Interleaved) {
      plugin::PostWaveData(frame, 44100, channels, n);
    } else {
      std::vector<float*> pointers;
      for (int c = 0; c < channels; ++c) {
        planes[c].resize(n);
        for (std::int32_t i = 0; i < n; ++i) planes[c][i] = frame[i * channels + c];
        pointers.push_back(planes[c].data());
      }
      plugin::PostWave(pointers.data(), 44100, channels, n);
      for (int c = 0; c < channels; ++c)
        for (std::int32_t i = 0; i < n; ++i) frame[i * channels + c] = planes[c][i];
    }
    at += n;
  }
  plugin::Destroy();
  return out;
}

TEST(KernelPaths, WholeChainMatchesThePortableCode) {
  for (const int channels : {1, 2}) {
    std::vector<float> input(static_cast<std::size_t>(30000) * channels);
    std::mt19937 gen(channels);
    std::uniform_real_distribution<float> d(-0.5f, 0.5f);
    for (float& x : input) x = d(gen);
    input[1234] = std::numeric_limits<float>::quiet_NaN();
    input[4321] = -std::numeric_limits<float>::infinity();
    for (const bool densest : {false, true}) {
      for (const Layout layout : {Layout::Planar, Layout::Interleaved}) {
        const std::vector<float> expected =
            RenderChain(KernelPath::Portable, input, channels, layout, densest);
        for (const KernelPath path : VectorPaths()) {
          EXPECT_TRUE(SameBits(RenderChain(path, input, channels, layout, densest), expected))
              << KernelPathName(path) << ", " << channels << " channels, "
              << (layout == Layout::Planar ? "planar" : "interleaved")
              << (densest ? ", densest" : ", load-time settings");
        }
      }
    }
  }
}

TEST(KernelPaths, ForcingAPathLastsForItsScope) {
  const KernelPath before = ActiveKernelPath();
  EXPECT_EQ(before, BestKernelPath());
  {
    const ScopedKernelPath force(KernelPath::Portable);
    EXPECT_EQ(ActiveKernelPath(), KernelPath::Portable);
    EXPECT_FALSE(WideArithmetic());
  }
  EXPECT_EQ(ActiveKernelPath(), before);
  for (const KernelPath path : AllKernelPaths) {
    if (!KernelPathSupported(path)) {
      EXPECT_THROW(ScopedKernelPath{path}, std::invalid_argument);
    }
  }
}

}  // namespace
}  // namespace lumra
