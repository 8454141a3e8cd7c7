#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "gui/fdib_win32.h"
#include "pixels.h"

namespace lumra {

TEST(DrawToDC, CopiesARectangleOfTheSurfaceAndIgnoresAlpha) {
  TFDIB surface(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(surface, x, y, 0x80000000u | static_cast<TPixel>(0x010203 * (1 + x + 4 * y)));

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 8;
  info.bmiHeader.biHeight = -6;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(dc && bitmap && bits);
  std::memset(bits, 0, 8 * 6 * 4);
  HGDIOBJ previous = SelectObject(dc, bitmap);

  DrawToDC(surface, dc, 2, 1, {1, 1, 4, 3});   // source (1, 1) lands on (2, 1)
  DrawToDC(surface, dc, 6, 4, {-2, -2, 1, 1});  // clipped to source (0, 0), which lands on (8, 6): off
  GdiFlush();

  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      const int sx = x - 1, sy = y;
      const bool inside = sx >= 1 && sx < 4 && sy >= 1 && sy < 3;
      const std::uint32_t want = inside ? PixelAt(surface, sx, sy) & 0xFFFFFF : 0;
      EXPECT_EQ(pixels[y * 8 + x] & 0xFFFFFF, want) << x << ", " << y;
    }
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace lumra
