#include <gtest/gtest.h>

#include <limits>

#include "gui/guidib.h"
#include "pixels.h"

namespace lumra {

TEST(MaskCircle, RampsInsideTheRadiusAndLeavesColourAlone) {
  TGUIDIB s(20, 20);
  Fill(s, 0x00123456);
  s.MaskCircle(10, 10, 5, 1);
  EXPECT_EQ(AlphaAt(s, 10, 10), 255u);
  EXPECT_EQ(AlphaAt(s, 14, 10), 255u);  // d = 4: not below R - F, ramp gives (5 - 4) * 255
  EXPECT_EQ(AlphaAt(s, 15, 10), 0u);    // d = R
  EXPECT_EQ(AlphaAt(s, 13, 13), 193u);  // d = 4.243: Trunc(0.757 * 255)
  EXPECT_EQ(AlphaAt(s, 14, 11), 223u);
  for (TPixel p : s.Pixels()) EXPECT_EQ(p & 0xFFFFFF, 0x123456u);
}

TEST(MaskCircle, CoverageAccumulatesAndSaturates) {
  TGUIDIB once(20, 20), twice(20, 20);
  once.MaskCircle(9.3f, 10.6f, 6.2f, 2.5f);
  twice.MaskCircle(9.3f, 10.6f, 6.2f, 2.5f);
  twice.MaskCircle(9.3f, 10.6f, 6.2f, 2.5f);
  int ramp = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const std::uint32_t a = AlphaAt(once, x, y);
      ramp += a > 0 && a < 128;
      ASSERT_EQ(AlphaAt(twice, x, y), std::min(255u, 2 * a)) << x << ", " << y;
    }
  EXPECT_GT(ramp, 0);
}

TEST(MaskCircle, RightAndBottomEdgesOfTheRoundedBoxAreExclusive) {
  TGUIDIB s(20, 20);
  s.MaskCircle(10.4f, 10, 5, 1);  // box right = Round(15.4) = 15
  EXPECT_EQ(AlphaAt(s, 15, 10), 0u);
  EXPECT_EQ(AlphaAt(s, 14, 10), 255u);
}

TEST(MaskFullCircle, SitsHalfAPixelTowardTheBottomRight) {
  TGUIDIB s(20, 20);
  s.MaskFullCircle(1);  // centre (10, 10), radius 9.5
  for (int x = 0; x < 20; ++x) EXPECT_EQ(AlphaAt(s, x, 0), 0u) << x;
  for (int y = 0; y < 20; ++y) EXPECT_EQ(AlphaAt(s, 0, y), 0u) << y;
  EXPECT_EQ(AlphaAt(s, 10, 19), 127u);  // d = 9: the ramp gives Trunc(0.5 * 255)
  EXPECT_GT(AlphaAt(s, 19, 10), 0u);
  EXPECT_EQ(AlphaAt(s, 10, 10), 255u);
}

TEST(MaskLine, HasAFullCoreAFeatheredEdgeAndRoundEnds) {
  TGUIDIB s(16, 12);
  s.MaskLine(0, 5, 10, 5, 3, 1);
  for (int x = 0; x <= 10; ++x) {
    EXPECT_EQ(AlphaAt(s, x, 5), 255u) << x;
    EXPECT_EQ(AlphaAt(s, x, 6), 127u) << x;  // d = 1: Trunc(0.5 * 255)
    EXPECT_EQ(AlphaAt(s, x, 4), 127u) << x;
    EXPECT_EQ(AlphaAt(s, x, 7), 0u) << x;
  }
  EXPECT_EQ(AlphaAt(s, 11, 5), 127u);  // the round end, measured from (10, 5)
  EXPECT_EQ(AlphaAt(s, 12, 5), 0u);
}

TEST(MaskLine, ZeroLengthIsADiscAndFeatherZeroIsAHardEdge) {
  TGUIDIB line(12, 12), disc(12, 12);
  line.MaskLine(5, 5, 5, 5, 4, 1);
  disc.MaskCircle(5, 5, 2, 1);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(PixelAt(line, x, y), PixelAt(disc, x, y)) << x << ", " << y;

  TGUIDIB hard(20, 20);
  hard.MaskCircle(10, 10, 5, 0);
  hard.MaskLine(0, 17, 19, 17, 2, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_TRUE(AlphaAt(hard, x, y) == 0 || AlphaAt(hard, x, y) == 255);
  EXPECT_EQ(AlphaAt(hard, 14, 10), 255u);
  EXPECT_EQ(AlphaAt(hard, 15, 10), 0u);
}

TEST(MaskTaperedLine, NarrowsToNothingAtAZeroWidthEnd) {
  TGUIDIB s(24, 20);
  s.MaskTaperedLine(2, 10, 18, 10, 6, 0, 1);
  EXPECT_EQ(AlphaAt(s, 2, 10), 255u);
  EXPECT_EQ(AlphaAt(s, 4, 11), 255u);    // t = 0.125: h = 2.625
  EXPECT_EQ(AlphaAt(s, 10, 11), 127u);   // t = 0.5: h = 1.5, d = 1
  for (int y = 0; y < 20; ++y)
    for (int x = 18; x < 24; ++x) EXPECT_EQ(AlphaAt(s, x, y), 0u) << x << ", " << y;  // nearest point is P2
}

TEST(Masks, ShapesOffTheSurfaceOrWithBadNumbersDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  TGUIDIB s(10, 10), empty(0, 0);
  for (TGUIDIB* t : {&s, &empty}) {
    t->MaskCircle(-100, -100, 5, 1);
    t->MaskCircle(1e30f, 5, 5, 1);
    t->MaskCircle(nan, 5, 5, 1);
    t->MaskCircle(5, 5, -3, 1);
    t->MaskLine(20, 20, 40, 40, 3, 1);
    t->MaskLine(nan, 0, 5, 5, 3, 1);
    t->MaskLine(0, 0, inf, 5, 3, 1);
    t->MaskTaperedLine(-50, 5, -20, 5, 3, 1, 1);
    t->MaskRect({12, 0, 20, 10});
    t->MaskRect({8, 8, 2, 2});  // not normal: no pixels
  }
  empty.MaskFullCircle(1);
  empty.MaskAll();
  for (TPixel p : s.Pixels()) EXPECT_EQ(p, 0u);

  TGUIDIB odd(10, 10);
  odd.MaskCircle(5, 5, 5, -1);  // a negative feather never takes coverage away
  odd.MaskLine(0, 0, 9, 9, 2, nan);
  for (TPixel p : odd.Pixels()) EXPECT_TRUE(p == 0 || p == 0xFF000000u);
}

TEST(MaskRect, CoversTheRectClippedToTheSurface) {
  TGUIDIB s(6, 4);
  Fill(s, 0x00ABCDEF);
  s.MaskRect({-3, 2, 2, 9});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(s, x, y), (x < 2 && y >= 2 ? 0xFF000000u : 0u) | 0xABCDEF) << x << ", " << y;
  s.MaskAll();
  for (TPixel p : s.Pixels()) EXPECT_EQ(p, 0xFFABCDEFu);
}

}  // namespace lumra
