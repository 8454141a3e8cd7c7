#include <gtest/gtest.h>

#include <limits>

#include "common/random.h"
#include "gui/fdib.h"

namespace lumra {

TEST(BlendPixel, WeighsBy256MinusAlphaAndAlphaAndKeepsTheLargerAlpha) {
  EXPECT_EQ(BlendPixel(0x00000000, 0xFFFFFFFF), 0xFFFEFEFEu);  // an opaque source keeps 1/256 of dest
  EXPECT_EQ(BlendPixel(0xFFFFFFFF, 0xFFFFFFFF), 0xFFFFFFFFu);
  EXPECT_EQ(BlendPixel(0xFF102030, 0x00FFFFFF), 0xFF102030u);  // transparent source: dest stays
  EXPECT_EQ(BlendPixel(0x00000000, 0x80FFFFFF), 0x807F7F7Fu);  // half coverage over black darkens
  EXPECT_EQ(BlendPixel(0x40000000, 0x20000000), 0x40000000u);
}

TEST(MixColor, TruncatesAndClampsT) {
  EXPECT_EQ(MixColor(0x000000, 0xFFFFFF, 0.5f), 0x7F7F7Fu);  // 127.5 truncates
  EXPECT_EQ(MixColor(0x102030, 0xFFFFFF, -1.0f), 0x102030u);
  EXPECT_EQ(MixColor(0x102030, 0xA0B0C0, 2.0f), 0xA0B0C0u);
  EXPECT_EQ(MixColor(0x102030, 0xA0B0C0, std::numeric_limits<float>::quiet_NaN()), 0x102030u);
  EXPECT_EQ(MixColor(0x102030, 0xA0B0C0, std::numeric_limits<float>::infinity()), 0xA0B0C0u);
  EXPECT_EQ(MixColor(0xAB000000, 0x00FFFFFF, 1.0f), 0xABFFFFFFu);  // top byte from the first colour
}

TEST(ScaleColor, TruncatesAndCapsEachChannel) {
  EXPECT_EQ(ScaleColor(0x80776C, 2.0f), 0xFFEED8u);  // red capped at 255
  EXPECT_EQ(ScaleColor(0x80776C, 0.5f), 0x403B36u);
  EXPECT_EQ(ScaleColor(0x030303, 0.66f), 0x010101u);
  EXPECT_EQ(ScaleColor(0x7F102030, 1.0f), 0x7F102030u);
  EXPECT_EQ(ScaleColor(0x102030, -1.0f), 0x000000u);
  EXPECT_EQ(ScaleColor(0x000000, std::numeric_limits<float>::infinity()), 0x000000u);
}

TEST(NoiseColor, DrawsThreeTimesAndStaysWithinTheAmplitude) {
  RandomGenerator random(12345);
  EXPECT_EQ(NoiseColor(0x123456, 0x000000, true, random), 0x123456u);
  RandomGenerator three(12345);
  for (int i = 0; i < 3; ++i) three.Random(0);
  EXPECT_EQ(random.Seed(), three.Seed());

  random.SetSeed(99);
  for (int i = 0; i < 500; ++i) {
    const TColor mono = NoiseColor(0xB0A090, 0x303030, true, random);
    const std::uint32_t r = (mono >> 16) - 0xB0, g = ((mono >> 8) & 0xFF) - 0xA0, b = (mono & 0xFF) - 0x90;
    ASSERT_TRUE(r == g && g == b && r < 0x30) << std::hex << mono;
    const TColor colour = NoiseColor(0x102030, 0x040810, false, random);
    ASSERT_LT((colour >> 16) - 0x10, 0x04u);
    ASSERT_LT(((colour >> 8) & 0xFF) - 0x20, 0x08u);
    ASSERT_LT((colour & 0xFF) - 0x30, 0x10u);
  }
  EXPECT_EQ(NoiseColor(0xFFFFFF, 0xFFFFFF, false, random), 0xFFFFFFu);  // saturates, no carry into alpha
}

}  // namespace lumra
