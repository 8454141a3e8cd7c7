#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "gui/canvas.h"
#include "pixels.h"

namespace lumra {
namespace {

using Points = std::set<std::pair<int, int>>;

// The pixels that no longer hold the background.
Points Marked(const TFDIB& s, TPixel background) {
  Points marked;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (PixelAt(s, x, y) != background) marked.insert({x, y});
  return marked;
}

}  // namespace

TEST(PenLine, LeavesOutTheEndPointAndKeepsAlpha) {
  const struct {
    int x1, y1, x2, y2;
    Points want;
  } cases[] = {
      {1, 2, 5, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
      {3, 6, 3, 3, {{3, 6}, {3, 5}, {3, 4}}},
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
      {6, 1, 3, 4, {{6, 1}, {5, 2}, {4, 3}}},
      {2, 2, 2, 2, {}},
      {-2, 1, 2, 1, {{0, 1}, {1, 1}}},
  };
  for (const auto& c : cases) {
    TFDIB s(8, 8);
    Fill(s, 0x40000000);
    PenLine(s, c.x1, c.y1, c.x2, c.y2, 0x123456);
    EXPECT_EQ(Marked(s, 0x40000000), c.want) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
    for (const auto& [x, y] : c.want) EXPECT_EQ(PixelAt(s, x, y), 0x40123456u);
  }
}

TEST(PenRectangle, OutlinesTheInsideOfTheRightAndBottomEdges) {
  for (const TRect& r : {TRect{1, 2, 6, 5}, TRect{6, 5, 1, 2}}) {
    TFDIB s(8, 8);
    PenRectangle(s, r, 0xABCDEF);
    Points want{{1, 3}, {5, 3}};
    for (int x = 1; x <= 5; ++x) want.insert({{x, 2}, {x, 4}});
    EXPECT_EQ(Marked(s, 0), want);
  }
}

TEST(CopyRect, CopiesOrInvertsColourClipsAndScrolls) {
  TFDIB source(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(source, x, y, 0x7F000000u | static_cast<TPixel>(0x10 * y + x + 1));
  TFDIB inverted(2, 2);
  Fill(inverted, 0xC0F0F0F0);
  CopyRect(inverted, 0, 0, source, {1, 1, 3, 3}, CopyMode::SourceInvert);
  EXPECT_EQ(PixelAt(inverted, 0, 0), 0xC0F0F0E2u);
  EXPECT_EQ(PixelAt(inverted, 1, 1), 0xC0F0F0D3u);

  // Every placement around a small destination; `from` reaches past the source's left edge too.
  for (int dx = -5; dx <= 6; ++dx)
    for (int dy = -4; dy <= 5; ++dy) {
      TFDIB dest(5, 4);
      Fill(dest, 0x20FFFFFF);
      CopyRect(dest, dx, dy, source, {-1, 0, 4, 4}, CopyMode::SourceCopy);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
          const int sx = x - dx - 1, sy = y - dy;
          const bool covered = sx >= 0 && sx < 4 && sy >= 0 && sy < 3;
          ASSERT_EQ(PixelAt(dest, x, y), covered ? 0x20000000u | (PixelAt(source, sx, sy) & 0xFFFFFF) : 0x20FFFFFFu)
              << dx << ", " << dy << ": " << x << ", " << y;
        }
    }

  TFDIB strip(5, 1);  // scrolls either way within one surface
  for (int x = 0; x < 5; ++x) SetPixel(strip, x, 0, static_cast<TPixel>(x));
  CopyRect(strip, 0, 0, strip, {1, 0, 5, 1}, CopyMode::SourceCopy);
  EXPECT_TRUE(std::ranges::equal(strip.Pixels(), std::vector<TPixel>{1, 2, 3, 4, 4}));
  CopyRect(strip, 1, 0, strip, {0, 0, 4, 1}, CopyMode::SourceCopy);
  EXPECT_TRUE(std::ranges::equal(strip.Pixels(), std::vector<TPixel>{1, 1, 2, 3, 4}));
}

}  // namespace lumra
