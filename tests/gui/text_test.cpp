#include <gtest/gtest.h>

#include "gui/guidib.h"
#include "gui/textcoverage.h"
#include "gui/textraster.h"
#include "pixels.h"

namespace lumra {
namespace {

std::uint64_t TotalAlpha(const TFDIB& s) {
  std::uint64_t sum = 0;
  for (TPixel p : s.Pixels()) sum += p >> 24;
  return sum;
}

}  // namespace

TEST(TextCoverage, SumsTheWidenedWindowOverTheSquareOfSPlusB) {
  TGUIDIB scratch(8, 8), spread(2, 2), plain(2, 2);
  SetPixel(scratch, 4, 4, 0x00FFFFFF);  // one white sample in target cell (1, 1)
  AddTextCoverage(spread, scratch, {0, 0, 2, 2}, 0, 0, 4, 1);
  AddTextCoverage(plain, scratch, {0, 0, 2, 2}, 0, 0, 4, 0);
  // With spread 1 every window (rows and columns -1..4 or 3..8) holds the sample: 255 / 25.
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(AlphaAt(spread, x, y), 10u) << x << ", " << y;
  EXPECT_EQ(AlphaAt(plain, 1, 1), 15u);  // 255 / 16
  EXPECT_EQ(AlphaAt(plain, 0, 0), 0u);

  TGUIDIB white(8, 8), full(4, 4);
  Fill(white, 0x00FFFFFF);
  AddTextCoverage(full, white, {0, 0, 4, 4}, 0, 0, 4, 1);
  EXPECT_EQ(AlphaAt(full, 0, 0), 255u);  // 25 samples on the scratch: 25 / 25
  EXPECT_EQ(AlphaAt(full, 2, 2), 10u);   // its window overlaps the scratch in one sample
  EXPECT_EQ(AlphaAt(full, 3, 3), 0u);    // wholly off the scratch
}

TEST(MaskText, EmptyTextChangesNothing) {
  TGUIDIB s(20, 20);
  Fill(s, 0x40123456);
  s.MaskText(2, 2, "", 7, 4, 1);
  for (TPixel p : s.Pixels()) EXPECT_EQ(p, 0x40123456u);
}

TEST(MaskText, CoversOnlyItsBoxAndKeepsColour) {
  TGUIDIB s(60, 30);
  Fill(s, 0x00123456);
  s.MaskText(2, 3, "Power", 7, 4, 1);  // box (2, 3)-(37, 17)
  std::uint64_t inside = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool inBox = x >= 2 && x < 37 && y >= 3 && y < 17;
      if (inBox) {
        inside += AlphaAt(s, x, y);
      } else {
        ASSERT_EQ(AlphaAt(s, x, y), 0u) << x << ", " << y;
      }
      ASSERT_EQ(PixelAt(s, x, y) & 0xFFFFFF, 0x123456u);
    }
  EXPECT_GT(inside, 20u * 255u);

  TGUIDIB twice(60, 30);
  twice.MaskText(2, 3, "Power", 7, 4, 1);
  twice.MaskText(2, 3, "Power", 7, 4, 1);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) ASSERT_EQ(AlphaAt(twice, x, y), std::min(255u, 2 * AlphaAt(s, x, y)));
}

TEST(MaskText, ClippedTextKeepsItsPlace) {
  TGUIDIB whole(40, 20), left(40, 20), up(40, 20);
  whole.MaskText(0, 0, "Library", 7, 4, 1);
  left.MaskText(-9, 0, "Library", 7, 4, 1);
  up.MaskText(0, -5, "Library", 7, 4, 1);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      if (x + 9 < 40) {
        ASSERT_EQ(AlphaAt(left, x, y), AlphaAt(whole, x + 9, y)) << x << ", " << y;
      }
      if (y + 5 < 20) {
        ASSERT_EQ(AlphaAt(up, x, y), AlphaAt(whole, x, y + 5)) << x << ", " << y;
      }
    }

  TGUIDIB small(5, 5), empty(0, 0);
  small.MaskText(3, 3, "A long label cut off at the edge", 7, 4, 1);
  small.MaskText(-500, -500, "Off", 7, 4, 1);
  small.MaskText(0, 0, "Odd", -7, 4, 1);
  small.MaskText(0, 0, "Odd", 7, -4, 3);
  small.MaskText(0, 0, "Odd", 2, 4, -4);
  empty.MaskText(0, 0, "Nothing", 7, 4, 1);
  EXPECT_EQ(AlphaAt(small, 0, 0) + AlphaAt(small, 4, 0) + AlphaAt(small, 0, 4), 0u);
}

TEST(MaskText, BoldFontGivesHeavierLetters) {
  TGUIDIB regular(120, 40), bold(120, 40);
  regular.Font = {"Arial", 0, 7, false, false};
  bold.Font = {"Arial", 0, 7, true, false};
  regular.MaskText(0, 0, "Lumra", 14, 4, 1);
  bold.MaskText(0, 0, "Lumra", 14, 4, 1);
  EXPECT_GT(TotalAlpha(bold), TotalAlpha(regular) * 11 / 10);
}

#ifndef _WIN32
TEST(MaskText, WindowsFacesUseTheirStandInsAndMissingFacesAreReported) {
  EXPECT_EQ(PointsToPixels(28), 37);  // the labels' 4 x 7 points at 96 pixels per inch
  TGUIDIB s(40, 30);
  s.Font = {"\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF", 128, 9, false, false};
  s.MaskText(0, 0, "\xE6\x97\xA5\xE6\x9C\xAC", 12, 4, 1);
  EXPECT_GT(TotalAlpha(s), 255u * 10);

  s.Font.Name = "No Such Face Anywhere";
  EXPECT_THROW(s.MaskText(0, 0, "x", 7, 4, 1), FontNotFound);
}
#endif

}  // namespace lumra
