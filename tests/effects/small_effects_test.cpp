#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/delays.h"
#include "effects/lowpass.h"
#include "effects/wav_buffer.h"

namespace lumra {
namespace {

std::vector<float> Processed(TEffect& effect, std::vector<float> samples) {
  TWavBuffer b;
  b.Attach(samples.data(), static_cast<std::int32_t>(samples.size()));
  effect.Process(b);
  return samples;
}

TEST(WavBuffer, OwnsBorrowsAndReusesStorage) {
  std::vector<float> host{1.0f, 2.0f, 3.0f};
  {
    TWavBuffer b;
    b.Attach(host.data(), 3);
    EXPECT_TRUE(b.Borrowed());
    b.SetCount(3);  // same count: still the host's memory
    EXPECT_EQ(b.Data(), host.data());
    b.SetCount(2);
    EXPECT_FALSE(b.Borrowed());
    EXPECT_NE(b.Data(), host.data());
  }
  EXPECT_EQ(host, (std::vector<float>{1.0f, 2.0f, 3.0f}));

  TWavBuffer owned;
  owned.SetCount(100);
  const float* storage = owned.Data();
  owned.SetCount(10);
  owned.SetCount(100);
  EXPECT_EQ(owned.Data(), storage) << "shrinking and growing back must not reallocate";
  owned.SetCount(0);
  EXPECT_EQ(owned.Data(), nullptr);
  EXPECT_EQ(owned.Peak(), 0.0f);
}

TEST(WavBuffer, InterleavingAndArithmetic) {
  const std::vector<float> src{10, 20, 11, 21, 12, 22};
  TWavBuffer b;
  b.Deinterleave(src.data(), 3, 2, 1);
  EXPECT_EQ(std::vector<float>(b.Data(), b.Data() + 3), (std::vector<float>{20, 21, 22}));
  std::vector<float> dest(6, -1.0f);
  b.Interleave(dest.data(), 2, 0);
  EXPECT_EQ(dest, (std::vector<float>{20, -1, 21, -1, 22, -1}));

  TWavBuffer own, other;
  const std::vector<float> one{1.0f, -0.7f}, two{0.0f, 0.5f};
  own.CopyFrom(one.data(), 2);
  other.CopyFrom(two.data(), 2);
  const std::vector<float> peaky{-0.7f, 0.5f};
  TWavBuffer peak;
  peak.CopyFrom(peaky.data(), 2);
  EXPECT_EQ(peak.Peak(), 0.7f);
  own.Mix(other, 0.25f, 0.75f);
  EXPECT_EQ(own.Data()[0], 0.25f);
  const std::vector<float> twos{2.0f, 2.0f, 2.0f};
  own.CopyFrom(one.data(), 1);
  other.CopyFrom(twos.data(), 3);
  own.AddScaled(other, 0.5f);
  EXPECT_EQ(own.Data()[0], 2.0f);
  own.Add(other);  // touches only the receiver's one sample
  EXPECT_EQ(own.Count(), 1);
  EXPECT_EQ(own.Data()[0], 4.0f);
}

TEST(ZDelay, DelaysByItsLengthAcrossBlocks) {
  TZDelay whole, split;
  whole.SetLength(3);
  split.SetLength(3);
  EXPECT_EQ(Processed(whole, {1, 2, 3, 4, 5}), (std::vector<float>{0, 0, 0, 1, 2}));
  EXPECT_EQ(whole.Position(), 2);
  EXPECT_EQ(Processed(split, {1, 2}), (std::vector<float>{0, 0}));
  EXPECT_EQ(Processed(split, {3, 4, 5}), (std::vector<float>{0, 1, 2}));

  TZDelay none;
  EXPECT_EQ(Processed(none, {1, 2}), (std::vector<float>{1, 2}));
  none.Clear();
  whole.Clear();
  EXPECT_EQ(Processed(whole, {0, 0, 0, 0}), (std::vector<float>{0, 0, 0, 0}));
}

TEST(AllPass, SchroederResponse) {
  TDelay2 a;
  a.SetLength(1);
  a.Gain = 0.5f;
  EXPECT_EQ(Processed(a, {1, 0, 0}), (std::vector<float>{-0.5f, 0.75f, 0.375f}));

  TDelay2 pure;
  pure.SetLength(2);
  pure.Gain = 0.0f;
  EXPECT_EQ(Processed(pure, {1, 2, 3, 4}), (std::vector<float>{0, 0, 1, 2}));

  TDelay2 unity;
  unity.SetLength(4);
  unity.Gain = 1.0f;
  EXPECT_EQ(Processed(unity, {0.5f, -0.25f}), (std::vector<float>{-0.5f, 0.25f}));

  TDelay2 none;
  EXPECT_EQ(Processed(none, {3, 4}), (std::vector<float>{3, 4}));
}

TEST(AllPass, DecayEndsInExactZeros) {
  TDelay2 a;
  a.SetLength(7);
  a.Gain = 0.7f;
  std::vector<float> impulse(20000, 0.0f);
  impulse[0] = 1.0f;
  const std::vector<float> out = Processed(a, impulse);
  EXPECT_EQ(out.back(), 0.0f);
  EXPECT_EQ(Processed(a, std::vector<float>(14, 0.0f)), std::vector<float>(14, 0.0f));
}

// The vector paths split a run into whole vectors and a scalar rest; every sample must still be
// the per-sample step, including the flush of ring values just below and above 2^-48.
TEST(AllPass, MatchesThePerSampleStepInAnyBlocking) {
  // Samples near the threshold, silence while they decay through it, ordinary samples and huge
  // ones.
  std::vector<float> input;
  for (int i = 0; i < 400; ++i) {
    const float scale = i < 100 ? 1e-14f : i < 250 ? 0.0f : i < 325 ? 1.0f : 1e30f;
    input.push_back(scale * static_cast<float>((i * 7919 % 601) - 300) / 200.0f);
  }
  input[300] = -0.0f;

  const std::int32_t length = 13;
  const double gain = 0.37f;
  std::vector<float> ring(length, 0.0f), expected;
  std::int32_t at = 0;
  for (float x : input) {
    const double d = ring[at];
    const float v = static_cast<float>(d * gain + x);
    expected.push_back(static_cast<float>(d - gain * v));
    ring[at] = std::fabs(v) < 0x1p-48f ? 0.0f : v;
    at = (at + 1) % length;
  }

  for (std::int32_t block : {1, 7, 8, 9, 30, 400}) {
    TDelay2 a;
    a.SetLength(length);
    a.Gain = 0.37f;
    std::vector<float> out = input;
    for (std::int32_t done = 0; done < 400; done += block)
      a.ProcessRun(out.data() + done, std::min(block, 400 - done));
    EXPECT_EQ(out, expected) << "blocks of " << block;
  }
}

TEST(LowPass, CoefficientsStepAndSettling) {
  TLPF f;
  EXPECT_NEAR(f.Coef, 7.15580f, 1e-4);
  EXPECT_NEAR(f.Scale, 0.122612f, 1e-6);
  std::vector<float> out = Processed(f, std::vector<float>(2000, 1.0f));
  EXPECT_EQ(out[0], f.Scale);
  EXPECT_NEAR(out.back(), 1.0f, 1e-6);

  f.State = 1e-20f;
  Processed(f, std::vector<float>(2000, 0.0f));
  EXPECT_EQ(f.State, 0.0f) << "a decayed state is flushed to exact zero";

}

}  // namespace
}  // namespace lumra
