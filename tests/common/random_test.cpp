#include "common/random.h"

#include <gtest/gtest.h>

namespace lumra {

TEST(Random, SequenceFromZeroStateMatchesKnownDraws) {
  SetRandomSeed(0);
  EXPECT_EQ(Random(65537), 0u);
  EXPECT_EQ(Random(2), 0u);
  EXPECT_EQ(Random(65537), 56430u);
}

TEST(Random, ZeroRangeStillAdvancesTheState) {
  SetRandomSeed(7);
  EXPECT_EQ(Random(0), 0u);
  EXPECT_EQ(RandomSeed(), 7u * 134775813u + 1u);
}

TEST(Random, DrawsStayBelowTheirRange) {
  SetRandomSeed(12345);
  for (std::uint32_t n : {1u, 2u, 3u, 1000u, 0xFFFFFFFFu})
    for (int i = 0; i < 1000; ++i) EXPECT_LT(Random(n), n);
}

}  // namespace lumra
