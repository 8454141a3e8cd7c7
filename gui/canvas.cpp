#include "gui/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "gui/guidib.h"
#include "gui/pixelmath.h"

namespace lumra {
namespace {

void Plot(TFDIB& surface, std::int64_t x, std::int64_t y, TColor color) {
  if (x < 0 || y < 0 || x >= surface.Width() || y >= surface.Height()) return;
  TPixel& p = surface.ScanLine(static_cast<std::int32_t>(y))[static_cast<std::size_t>(x)];
  p = (p & kAlphaMask) | (color & ~kAlphaMask);
}

}  // namespace

void PenLine(TFDIB& surface, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, TColor color) {
  const std::int64_t dx = std::llabs(std::int64_t{x2} - x1), dy = std::llabs(std::int64_t{y2} - y1);
  const std::int64_t sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
  const std::int64_t steps = std::max(dx, dy);
  std::int64_t x = x1, y = y1;
  // The error term decides when the minor axis steps; at an exact half it waits one more step.
  std::int64_t error = 0;
  for (std::int64_t i = 0; i < steps; ++i) {
    Plot(surface, x, y, color);
    if (dx >= dy) {
      x += sx;
      error += 2 * dy;
      if (error > dx) {
        y += sy;
        error -= 2 * dx;
      }
    } else {
      y += sy;
      error += 2 * dx;
      if (error > dy) {
        x += sx;
        error -= 2 * dy;
      }
    }
  }
}

void PenRectangle(TFDIB& surface, const TRect& rect, TColor color) {
  const std::int32_t left = std::min(rect.Left, rect.Right), right = std::max(rect.Left, rect.Right) - 1;
  const std::int32_t top = std::min(rect.Top, rect.Bottom), bottom = std::max(rect.Top, rect.Bottom) - 1;
  if (right < left || bottom < top) return;
  for (std::int32_t x = std::max(left, 0); x <= std::min(right, surface.Width() - 1); ++x) {
    Plot(surface, x, top, color);
    Plot(surface, x, bottom, color);
  }
  for (std::int32_t y = std::max(top, 0); y <= std::min(bottom, surface.Height() - 1); ++y) {
    Plot(surface, left, y, color);
    Plot(surface, right, y, color);
  }
}

void CopyRect(TFDIB& dest, std::int32_t x, std::int32_t y, const TFDIB& source, const TRect& from, CopyMode mode) {
  if (&dest == &source) {
    // Within one surface (a scroll, say) the copy reads what it has not yet written.
    const TFDIB original = source;
    CopyRect(dest, x, y, original, from, mode);
    return;
  }
  // Clip the source rectangle to the source, then the placed rectangle to dest.
  const TRect src = ClipRect(from, {0, 0, source.Width(), source.Height()});
  const std::int64_t offsetX = std::int64_t{x} - from.Left, offsetY = std::int64_t{y} - from.Top;
  const std::int64_t left = std::max<std::int64_t>(src.Left, -offsetX);
  const std::int64_t top = std::max<std::int64_t>(src.Top, -offsetY);
  const std::int64_t right = std::min<std::int64_t>(src.Right, dest.Width() - offsetX);
  const std::int64_t bottom = std::min<std::int64_t>(src.Bottom, dest.Height() - offsetY);
  for (std::int64_t sy = top; sy < bottom; ++sy) {
    const auto in = source.ScanLine(static_cast<std::int32_t>(sy));
    const auto out = dest.ScanLine(static_cast<std::int32_t>(sy + offsetY));
    for (std::int64_t sx = left; sx < right; ++sx) {
      TPixel& d = out[static_cast<std::size_t>(sx + offsetX)];
      const TPixel s = in[static_cast<std::size_t>(sx)] & ~kAlphaMask;
      d = mode == CopyMode::SourceCopy ? (d & kAlphaMask) | s : d ^ s;
    }
  }
}

}  // namespace lumra
