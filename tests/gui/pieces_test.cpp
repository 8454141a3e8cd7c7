#include <gtest/gtest.h>

#include "gui/guidraw.h"
#include "pixels.h"

namespace lumra {
namespace {

TDIVLine EditorTicks(std::int32_t majorEvery) {
  return TDIVLine(21, 2.0943952f, 7.330383f, majorEvery, 15, 1.5f, 2, 2, 3, 0xE0E0E0, false);
}

}  // namespace

TEST(TDIVLine, EditorRingHasItsSizeOriginGapAndTickWidths) {
  const TDIVLine ticks = EditorTicks(4);
  EXPECT_EQ(ticks.Width(), 40);
  EXPECT_EQ(ticks.Height(), 40);
  EXPECT_EQ(ticks.OriginX, 20);
  EXPECT_EQ(ticks.OriginY, 20);
  for (TPixel p : ticks.Pixels()) EXPECT_EQ(p & 0xFFFFFF, 0xE0E0E0u);

  EXPECT_EQ(AlphaAt(ticks, 19, 20), 0u);  // nothing inside the ring
  for (int y = 33; y < 40; ++y)
    for (int x = 17; x <= 22; ++x) EXPECT_EQ(AlphaAt(ticks, x, y), 0u) << x << ", " << y;  // the gap at the bottom

  // The top tick (i = 10) is minor, 2 wide around x = 19.5: half a pixel off its axis gives
  // Trunc((1 - 0.5) * 255).
  EXPECT_EQ(AlphaAt(ticks, 19, 4), 127u);
  EXPECT_EQ(AlphaAt(ticks, 20, 4), 127u);
  // With every tick major it is 3 wide, and the same pixels are fully covered.
  const TDIVLine allMajor = EditorTicks(1);
  EXPECT_EQ(AlphaAt(allMajor, 19, 4), 255u);
  EXPECT_EQ(AlphaAt(allMajor, 20, 4), 255u);
}

TEST(TDIVLine, ArgumentsOutsideTheLimitsDrawSomethingOrNothingSafely) {
  const TDIVLine none(0, 0, 1, 4, 15, 1.5f, 2, 2, 3, 0xE0E0E0, false);
  for (TPixel p : none.Pixels()) EXPECT_EQ(p, 0xE0E0E0u);
  const TDIVLine lone(1, 0, 1, 0, 15, 1.5f, 2, 2, 3, 0xE0E0E0, true);
  EXPECT_GT(AlphaAt(lone, 35, 19), 0u);  // one tick, pointing right, along y = 19.5
  const TDIVLine negative(5, 0, 1, 4, -30, 1, 2, 2, 3, 0xE0E0E0, false);
  EXPECT_EQ(negative.Width(), 0);
}

TEST(TDial2, EditorKnobBodyHasItsSizeShadowRimAndTop) {
  const TDial2 dial(24, 20, 19, 0x80776C, 0x000000, 2.0f, 6, 1.0f);
  EXPECT_EQ(dial.Width(), 54);
  EXPECT_EQ(dial.Height(), 54);
  EXPECT_EQ(dial.OriginX, 24);
  EXPECT_EQ(dial.OriginY, 24);
  EXPECT_EQ(PixelAt(dial, 24, 24), 0xFF000000u);  // the black top
  // Rim, opaque over nothing, light at the top left: MixColor(0xFFEED8, 0x403B36, 0.1875) =
  // 0xDBCCB9, times 255/256.
  EXPECT_EQ(PixelAt(dial, 9, 9), 0xFFDACBB8u);
  // Dark at the bottom right, t = 0.8125: 0x635C54 times 255/256, over the shadow's black.
  EXPECT_EQ(PixelAt(dial, 39, 39), 0xFF625B53u);
  // Shadow alone, right of the rim: centre (30, 30), radius 23.5, feather 20, d = 18.
  EXPECT_EQ(PixelAt(dial, 48, 30), 0x46000000u);
  EXPECT_EQ(PixelAt(dial, 0, 53), 0u);
}

TEST(TDial2, DegenerateSizesGiveEmptyOrSmallSurfaces) {
  const TDial2 flat(0, 0, 0, 0x80776C, 0, 2.0f, 0, 1.0f);
  EXPECT_EQ(flat.Width(), 0);
  const TDial2 odd(5, 9, -2, 0x80776C, 0x000000, 0.0f, -20, 3.0f);
  EXPECT_EQ(odd.Width(), 0);
  const TDial2 small(3, 2, 1, 0x80776C, 0x000000, 2.0f, 1, 0.5f);
  EXPECT_EQ(small.Width(), 7);
}

}  // namespace lumra
