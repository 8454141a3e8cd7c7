// Text through GDI: the text is drawn into a 32-bit DIB section holding a copy of the target's
// pixels, and the colour bytes are copied back. GDI does not keep the alpha byte of the pixels it
// draws, so the target keeps its own.

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "gui/pixelmath.h"
#include "common/utf16_win32.h"
#include "gui/textraster.h"

namespace lumra {
namespace {

struct DeleteDC_ {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteObject_ {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using DcPtr = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDC_>;
using ObjectPtr = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, DeleteObject_>;

// Restores the object a DC held before, so that the DC never owns a deleted object.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace

std::int32_t ScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 96;
  const int ppi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return ppi > 0 ? ppi : 96;
}

void RenderText(TFDIB& target, const TFont& font, std::string_view utf8, TColor color) {
  const std::int32_t pixels = FontPixelHeight(font);
  if (pixels <= 0 || utf8.empty() || target.Width() <= 0 || target.Height() <= 0) return;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = target.Width();
  info.bmiHeader.biHeight = -target.Height();  // top row first, as in TFDIB
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  DcPtr dc(CreateCompatibleDC(nullptr));
  void* bits = nullptr;
  ObjectPtr bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc || !bitmap || !bits) return;
  const auto source = target.Pixels();
  std::memcpy(bits, source.data(), source.size_bytes());

  LOGFONTW logFont{};
  logFont.lfHeight = -pixels;  // negative: character height, without internal leading
  logFont.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.Italic ? TRUE : FALSE;
  logFont.lfCharSet = static_cast<BYTE>(font.Charset);
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = DEFAULT_PITCH;
  const std::wstring face = Widen(font.Name).substr(0, LF_FACESIZE - 1);
  std::memcpy(logFont.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
  ObjectPtr gdiFont(CreateFontIndirectW(&logFont));
  if (!gdiFont) return;

  {
    const Selection selectBitmap(dc.get(), bitmap.get());
    const Selection selectFont(dc.get(), gdiFont.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextAlign(dc.get(), TA_TOP | TA_LEFT | TA_NOUPDATECP);
    SetTextColor(dc.get(), RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
    const std::wstring text = Widen(utf8);
    TextOutW(dc.get(), 0, 0, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
  }

  const auto* drawn = static_cast<const TPixel*>(bits);
  for (std::int32_t y = 0; y < target.Height(); ++y) {
    const auto row = target.ScanLine(y);
    const TPixel* from = drawn + static_cast<std::size_t>(y) * static_cast<std::size_t>(target.Width());
    for (std::size_t x = 0; x < row.size(); ++x) row[x] = (row[x] & kAlphaMask) | (from[x] & ~kAlphaMask);
  }
}

}  // namespace lumra
