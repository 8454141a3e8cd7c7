#include <gtest/gtest.h>

#include "common/random.h"
#include "gui/guidib.h"
#include "pixels.h"

namespace lumra {

TEST(FillGradient, IsConstantAcrossTheAxisAndClampedBeyondTheEnds) {
  TGUIDIB s(16, 3);
  s.MaskRect({0, 0, 8, 1});
  s.FillGradient(0, 0, 10, 0, 0x000000, 0xFFFFFF);
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(PixelAt(s, 0, y) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(PixelAt(s, 5, y) & 0xFFFFFF, 0x7F7F7Fu);
    for (int x = 10; x < 16; ++x) EXPECT_EQ(PixelAt(s, x, y) & 0xFFFFFF, 0xFFFFFFu);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(AlphaAt(s, x, y), x < 8 && y == 0 ? 255u : 0u);  // alpha kept
  }
  s.FillGradient(6, 1, 6, 1, 0x102030, 0xFFFFFF);  // no axis: the first colour everywhere
  for (TPixel p : s.Pixels()) EXPECT_EQ(p & 0xFFFFFF, 0x102030u);
}

TEST(FillNoisyGradient, DrawsSecondEndThenFirstForEveryPixel) {
  TGUIDIB s(4, 3);
  RandomGenerator random(777);
  s.FillNoisyGradient(1, 0, 3, 0, 0xB0A090, 0x706860, 0x303030, 0x202020, true, random);

  // Pixel (0, 0) lies before P1, so it shows E1, the second colour drawn for it.
  RandomGenerator replay(777);
  NoiseColor(0x706860, 0x202020, true, replay);
  const TColor e1 = NoiseColor(0xB0A090, 0x303030, true, replay);
  EXPECT_EQ(PixelAt(s, 0, 0), e1);
  for (int i = 6; i < 4 * 3 * 6; ++i) replay.Random(0);
  EXPECT_EQ(random.Seed(), replay.Seed());  // six draws per pixel

  for (int y = 0; y < 3; ++y) {
    const TPixel beyond = PixelAt(s, 3, y);  // E2 of a pixel at P2
    EXPECT_GE(beyond & 0xFF, 0x60u);
    EXPECT_LT(beyond & 0xFF, 0x80u);
  }
}

TEST(FillRadialGradient, RunsFromTheCentreToTheRadius) {
  TGUIDIB s(7, 7);
  s.MaskAll();
  s.FillRadialGradient(0x0000FF, 0x000000, 3, 3, 2);
  EXPECT_EQ(PixelAt(s, 3, 3), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(s, 4, 3), 0xFF00007Fu);
  EXPECT_EQ(PixelAt(s, 6, 6), 0xFF000000u);
  s.FillRadialGradient(0x123456, 0xABCDEF, 3, 3, 0);  // no radius: centre first colour, rest second
  EXPECT_EQ(PixelAt(s, 3, 3), 0xFF123456u);
  EXPECT_EQ(PixelAt(s, 0, 3), 0xFFABCDEFu);
}

TEST(DrawFrame, WritesTopAndLeftThenBottomAndRight) {
  TGUIDIB one(1, 1);
  one.DrawFrame(0x111111, 0x222222);
  EXPECT_EQ(PixelAt(one, 0, 0), 0xFF111111u);  // the top row only

  TGUIDIB column(1, 4);
  column.DrawFrame(0x111111, 0x222222);
  EXPECT_EQ(PixelAt(column, 0, 0), 0xFF111111u);
  for (int y = 1; y < 4; ++y) EXPECT_EQ(PixelAt(column, 0, y), 0xFF222222u) << y;  // last pixel written last

  TGUIDIB row(3, 1);
  row.DrawFrame(0x111111, 0x222222);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(row, x, 0), 0xFF111111u);

  TGUIDIB box(4, 4);
  Fill(box, 0x10ABCDEF);
  box.DrawFrame(0x111111, 0x222222);
  const char* want[] = {"1111", "1..2", "1..2", "2222"};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const char c = want[y][x];
      EXPECT_EQ(PixelAt(box, x, y), c == '1' ? 0xFF111111u : c == '2' ? 0xFF222222u : 0x10ABCDEFu) << x << ", " << y;
    }

  TGUIDIB none(0, 3), flat(3, 0);
  none.DrawFrame(0x111111, 0x222222);
  flat.DrawFrame(0x111111, 0x222222);
}

}  // namespace lumra
