#include "gui/guidib.h"

#include <algorithm>
#include <cstdint>

#include "gui/pixelmath.h"

namespace lumra {
namespace {

TRect Normalised(const TRect& r) {
  return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
          std::max(r.Top, r.Bottom)};
}

}  // namespace

TRect GrowBounds(const TRect& bounds, const TRect& rect, std::int32_t margin) {
  const TRect r = Normalised(rect);
  return {std::min(bounds.Left, SaturateInt32(std::int64_t{r.Left} - margin)),
          std::min(bounds.Top, SaturateInt32(std::int64_t{r.Top} - margin)),
          std::max(bounds.Right, SaturateInt32(std::int64_t{r.Right} + margin)),
          std::max(bounds.Bottom, SaturateInt32(std::int64_t{r.Bottom} + margin))};
}

TRect ClipRect(const TRect& rect, const TRect& clip) {
  const TRect c = Normalised(clip);
  return {std::max(rect.Left, c.Left), std::max(rect.Top, c.Top), std::min(rect.Right, c.Right),
          std::min(rect.Bottom, c.Bottom)};
}

void TGUIDIB::MaskRect(const TRect& rect) {
  const TRect box = ClipRect(rect, {0, 0, Width(), Height()});
  for (std::int32_t y = box.Top; y < box.Bottom; ++y) {
    const auto row = ScanLine(y);
    for (std::int32_t x = box.Left; x < box.Right; ++x) row[x] |= kAlphaMask;
  }
}

void TGUIDIB::MaskAll() { MaskRect({0, 0, Width(), Height()}); }

void TGUIDIB::FillColor(TColor color) {
  for (std::int32_t y = 0; y < Height(); ++y)
    for (TPixel& p : ScanLine(y)) p = (p & kAlphaMask) | (color & ~kAlphaMask);
}

void TGUIDIB::DrawFrame(TColor color1, TColor color2) {
  const TPixel first = kAlphaMask | color1, last = kAlphaMask | color2;
  if (Width() <= 0) return;
  for (std::int32_t y = 0; y < Height(); ++y) {
    const auto row = ScanLine(y);
    if (y == 0) {
      std::fill(row.begin(), row.end(), first);
    } else if (y == Height() - 1) {
      std::fill(row.begin(), row.end(), last);
    } else {
      row.front() = first;
      row.back() = last;
    }
  }
}

}  // namespace lumra
