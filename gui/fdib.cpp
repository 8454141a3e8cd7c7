#include "gui/fdib.h"

#include <algorithm>
#include <cstddef>
#include <new>

#include "gui/pixelmath.h"

namespace lumra {

TFDIB::TFDIB(std::int32_t width, std::int32_t height) { Resize(width, height); }

void TFDIB::Resize(std::int32_t width, std::int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const std::uint64_t count = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (count > pixels_.max_size()) throw std::bad_alloc();
  pixels_.assign(static_cast<std::size_t>(count), 0);
  width_ = width;
  height_ = height;
}

// A row index off the surface gives an empty row rather than memory outside it.
std::span<TPixel> TFDIB::ScanLine(std::int32_t y) {
  if (y < 0 || y >= height_) return {};
  return std::span<TPixel>(pixels_).subspan(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_),
                                            static_cast<std::size_t>(width_));
}

std::span<const TPixel> TFDIB::ScanLine(std::int32_t y) const {
  if (y < 0 || y >= height_) return {};
  return std::span<const TPixel>(pixels_).subspan(
      static_cast<std::size_t>(y) * static_cast<std::size_t>(width_), static_cast<std::size_t>(width_));
}

void TFDIB::ClearPixels() { std::fill(pixels_.begin(), pixels_.end(), 0); }

void TFDIB::DrawTo(TFDIB& dest, std::int32_t x, std::int32_t y) const {
  // 64-bit so that far-off positions cannot overflow; the clipping order is left, right, top,
  // bottom, each trimming the source by what the destination loses.
  std::int64_t sLeft = 0, sTop = 0, sRight = width_, sBottom = height_;
  std::int64_t dLeft = std::int64_t{x} - OriginX, dTop = std::int64_t{y} - OriginY;
  const std::int64_t dRight = dLeft + width_, dBottom = dTop + height_;
  if (dLeft < 0) {
    sLeft -= dLeft;
    dLeft = 0;
  }
  if (dRight > dest.width_) sRight -= dRight - dest.width_;
  if (dTop < 0) {
    sTop -= dTop;
    dTop = 0;
  }
  if (dBottom > dest.height_) sBottom -= dBottom - dest.height_;
  if (sBottom <= sTop || sRight <= sLeft) return;

  for (std::int64_t sy = sTop; sy < sBottom; ++sy) {
    const auto from = ScanLine(static_cast<std::int32_t>(sy));
    const auto to = dest.ScanLine(static_cast<std::int32_t>(sy + dTop - sTop));
    for (std::int64_t sx = sLeft; sx < sRight; ++sx) {
      TPixel& d = to[static_cast<std::size_t>(dLeft + sx - sLeft)];
      d = BlendPixel(d, from[static_cast<std::size_t>(sx)]);
    }
  }
}

void TFDIB::ScaleAlpha(float factor) {
  for (TPixel& p : pixels_) p = WithAlpha(p, TruncToByte(static_cast<double>(AlphaOf(p)) * factor));
}

}  // namespace lumra
