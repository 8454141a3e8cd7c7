#include "common/random.h"

#include <gtest/gtest.h>

namespace lumra {

TEST(Random, SequenceFromZeroStateMatchesKnownDraws) {
  RandomGenerator random(0);
  EXPECT_EQ(random.Random(65537), 0u);
  EXPECT_EQ(random.Random(2), 0u);
  EXPECT_EQ(random.Random(65537), 56430u);
}

TEST(Random, ZeroRangeStillAdvancesTheState) {
  RandomGenerator random(7);
  EXPECT_EQ(random.Random(0), 0u);
  EXPECT_EQ(random.Seed(), 7u * 134775813u + 1u);
}

TEST(Random, DrawsStayBelowTheirRange) {
  RandomGenerator random(12345);
  for (std::uint32_t n : {1u, 2u, 3u, 1000u, 0xFFFFFFFFu})
    for (int i = 0; i < 1000; ++i) EXPECT_LT(random.Random(n), n);
}

TEST(Random, GeneratorsDoNotShareState) {
  RandomGenerator a(5), b(5);
  a.Random(10);
  a.Random(10);
  EXPECT_EQ(b.Seed(), 5u);
  b.Random(10);
  b.Random(10);
  EXPECT_EQ(a.Seed(), b.Seed());
}

}  // namespace lumra
