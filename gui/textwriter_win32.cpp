// Text through GDI: one memory DC with the font selected for the writer's life, and a 32-bit DIB
// section that holds a copy of the pixels under each text's box while GDI writes on it.

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "common/utf16_win32.h"
#include "gui/textraster.h"
#include "gui/textwriter.h"

namespace lumra {
namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const TFont& font) {
  LOGFONTW query{};
  query.lfCharSet = static_cast<BYTE>(font.Charset);
  const std::wstring face = Widen(font.Name).substr(0, LF_FACESIZE - 1);
  std::memcpy(query.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, &NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

TFont Available(const TFont& font) {
  if (FaceInstalled(font)) return font;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  TFont fallback = font;
  fallback.Charset = DEFAULT_CHARSET;
  fallback.Name = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
                      ? Narrow(metrics.lfMessageFont.lfFaceName)
                      : "Tahoma";
  return fallback;
}

}  // namespace

struct TTextWriter::Platform {
  explicit Platform(const TFont& wanted) : font(Available(wanted)), dc(CreateCompatibleDC(nullptr)) {
    LOGFONTW logFont{};
    logFont.lfHeight = -FontPixelHeight(font);  // negative: character height, without internal leading
    logFont.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.Italic ? TRUE : FALSE;
    logFont.lfCharSet = static_cast<BYTE>(font.Charset);
    const std::wstring face = Widen(font.Name).substr(0, LF_FACESIZE - 1);
    std::memcpy(logFont.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
    gdiFont = CreateFontIndirectW(&logFont);
    if (dc) {
      previousFont = SelectObject(dc, gdiFont);
      SetBkMode(dc, TRANSPARENT);
      SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    }
  }
  ~Platform() {
    if (dc) {
      SelectObject(dc, previousFont);
      if (previousBitmap) SelectObject(dc, previousBitmap);
      DeleteDC(dc);
    }
    if (bitmap) DeleteObject(bitmap);
    if (gdiFont) DeleteObject(gdiFont);
  }
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  // Makes the DIB section at least width x height; false when GDI cannot.
  bool Reserve(int width, int height) {
    if (bitmap && width <= bitsWidth && height <= bitsHeight) return true;
    width = std::max(width, bitsWidth);
    height = std::max(height, bitsHeight);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* newBits = nullptr;
    HBITMAP made = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &newBits, nullptr, 0);
    if (!made) return false;
    HGDIOBJ was = SelectObject(dc, made);
    if (previousBitmap == nullptr) previousBitmap = was;
    if (bitmap) DeleteObject(bitmap);
    bitmap = made;
    bits = static_cast<TPixel*>(newBits);
    bitsWidth = width;
    bitsHeight = height;
    return true;
  }

  TFont font;
  HDC dc = nullptr;
  HFONT gdiFont = nullptr;
  HGDIOBJ previousFont = nullptr;
  HGDIOBJ previousBitmap = nullptr;
  HBITMAP bitmap = nullptr;
  TPixel* bits = nullptr;
  int bitsWidth = 0;
  int bitsHeight = 0;
};

TTextWriter::TTextWriter(const TFont& font) : platform_(std::make_unique<Platform>(font)) {}

TTextWriter::~TTextWriter() = default;

const TFont& TTextWriter::Font() const { return platform_->font; }

void TTextWriter::Write(TFDIB& target, std::int32_t x, std::int32_t y, std::string_view utf8, TColor color) {
  Platform& p = *platform_;
  const int height = FontPixelHeight(p.font);
  const std::int64_t wanted = 2 * std::int64_t{height} * CountCharacters(utf8);
  const int width = static_cast<int>(std::min<std::int64_t>(wanted, target.Width()));
  if (!p.dc || !p.gdiFont || width <= 0 || height <= 0 || !p.Reserve(width, 2 * height)) return;

  // The box's pixels go into the DIB section, GDI writes over them, and the colour comes back.
  const int boxHeight = 2 * height;
  for (int row = 0; row < boxHeight; ++row) {
    const auto line = target.ScanLine(y + row);
    TPixel* into = p.bits + static_cast<std::size_t>(row) * static_cast<std::size_t>(p.bitsWidth);
    for (int col = 0; col < width; ++col) {
      const std::int64_t tx = std::int64_t{x} + col;
      into[col] = !line.empty() && tx >= 0 && tx < target.Width() ? line[static_cast<std::size_t>(tx)] : 0;
    }
  }
  SetTextColor(p.dc, RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
  const std::wstring text = Widen(utf8);
  TextOutW(p.dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
  GdiFlush();
  for (int row = 0; row < boxHeight; ++row) {
    const auto line = target.ScanLine(y + row);
    const TPixel* from = p.bits + static_cast<std::size_t>(row) * static_cast<std::size_t>(p.bitsWidth);
    for (int col = 0; col < width; ++col) {
      const std::int64_t tx = std::int64_t{x} + col;
      if (line.empty() || tx < 0 || tx >= target.Width()) continue;
      TPixel& d = line[static_cast<std::size_t>(tx)];
      d = (d & 0xFF000000u) | (from[col] & 0x00FFFFFFu);
    }
  }
}

}  // namespace lumra
