#include "gui/fdib_win32.h"

#include <algorithm>

namespace lumra {

void DrawToDC(const TFDIB& surface, HDC dc, int x, int y, const TRect& source) {
  const int left = std::max(source.Left, 0), top = std::max(source.Top, 0);
  const int right = std::min(source.Right, surface.Width()), bottom = std::min(source.Bottom, surface.Height());
  if (right <= left || bottom <= top) return;

  // The bitmap handed to GDI starts at the rectangle's first row, so no row offset is needed
  // and the bottom-up source coordinates of SetDIBitsToDevice never come into play.
  const int rows = bottom - top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = surface.Width();
  info.bmiHeader.biHeight = -rows;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, x + left - source.Left, y + top - source.Top, static_cast<DWORD>(right - left),
                    static_cast<DWORD>(rows), left, 0, 0, static_cast<UINT>(rows), surface.ScanLine(top).data(),
                    &info, DIB_RGB_COLORS);
}

}  // namespace lumra
