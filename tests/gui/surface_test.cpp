#include <gtest/gtest.h>

#include "gui/fdib.h"
#include "pixels.h"

namespace lumra {
namespace {

// An opaque source pixel whose blue byte names its position; opaque over black it lands as
// tag - 1 (tag * 255 / 256 truncated), so every destination pixel tells where it came from.
TPixel Tag(int x, int y) { return 0xFF000000u | static_cast<TPixel>(10 + 16 * y + x); }

TFDIB TaggedSource(int w, int h, int originX, int originY) {
  TFDIB s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixel(s, x, y, Tag(x, y));
  s.OriginX = originX;
  s.OriginY = originY;
  return s;
}

}  // namespace

TEST(TFDIB, NewSurfaceIsTransparentBlackAndBadSizesAreEmpty) {
  const TFDIB s(3, 2);
  for (TPixel p : s.Pixels()) EXPECT_EQ(p, 0u);
  EXPECT_EQ(s.OriginX, 0);
  TFDIB empty(0, 0), negative(-4, 7);
  EXPECT_EQ(negative.Width(), 0);
  EXPECT_EQ(negative.Height(), 7);
  empty.ClearPixels();
  empty.ScaleAlpha(0.5f);
  TFDIB dest(4, 4);
  empty.DrawTo(dest, 1, 1);
  negative.DrawTo(dest, 1, 1);
  dest.DrawTo(empty, 0, 0);
  for (TPixel p : dest.Pixels()) EXPECT_EQ(p, 0u);
}

TEST(TFDIB, DrawToClipsOnEverySideAndPlacesTheOrigin) {
  const int w = 4, h = 3;
  for (const auto& [originX, originY] : {std::pair{0, 0}, std::pair{2, 1}})
    for (int x = -6; x <= 9; ++x)
      for (int y = -5; y <= 8; ++y) {
        const TFDIB source = TaggedSource(w, h, originX, originY);
        TFDIB dest(5, 4);
        source.DrawTo(dest, x, y);
        for (int dy = 0; dy < dest.Height(); ++dy)
          for (int dx = 0; dx < dest.Width(); ++dx) {
            const int sx = dx - (x - originX), sy = dy - (y - originY);
            const bool covered = sx >= 0 && sx < w && sy >= 0 && sy < h;
            const TPixel want = covered ? Tag(sx, sy) - 1 : 0;
            ASSERT_EQ(PixelAt(dest, dx, dy), want)
                << "drawn at (" << x << ", " << y << ") origin (" << originX << ", " << originY << "), pixel (" << dx
                << ", " << dy << ")";
          }
      }
}

TEST(TFDIB, DrawToFarOffTheDestinationLeavesItAlone) {
  const TFDIB source = TaggedSource(4, 3, 0, 0);
  TFDIB dest(5, 4);
  for (const auto& [x, y] : {std::pair{INT32_MAX, 0}, std::pair{INT32_MIN, 0}, std::pair{0, INT32_MAX},
                            std::pair{0, INT32_MIN}, std::pair{INT32_MIN, INT32_MIN}})
    source.DrawTo(dest, x, y);
  for (TPixel p : dest.Pixels()) EXPECT_EQ(p, 0u);
}

TEST(TFDIB, PartlyCoveredSourceIsWeightedAgainstTheDestination) {
  TFDIB source(1, 1), dest(1, 1);
  SetPixel(source, 0, 0, 0x80FFFFFF);
  source.DrawTo(dest, 0, 0);
  EXPECT_EQ(PixelAt(dest, 0, 0), 0x807F7F7Fu);
  TFDIB opaque(1, 1);
  SetPixel(opaque, 0, 0, 0xFF000000);
  dest.DrawTo(opaque, 0, 0);
  EXPECT_EQ(PixelAt(opaque, 0, 0), 0xFF3F3F3Fu);  // the darkened colour weighted once more
}

TEST(TFDIB, ScaleAlphaTruncatesAndKeepsColour) {
  TFDIB s(3, 1);
  SetPixel(s, 0, 0, 0xFF123456);
  SetPixel(s, 1, 0, 0x01ABCDEF);
  SetPixel(s, 2, 0, 0x80000000);
  s.ScaleAlpha(0.9f);
  EXPECT_EQ(PixelAt(s, 0, 0), 0xE5123456u);  // 229
  EXPECT_EQ(PixelAt(s, 1, 0), 0x00ABCDEFu);
  EXPECT_EQ(PixelAt(s, 2, 0), 0x73000000u);  // 128 * 0.9 = 115.2
  s.ScaleAlpha(4.0f);
  EXPECT_EQ(PixelAt(s, 0, 0), 0xFF123456u);  // held to 255
}

}  // namespace lumra
