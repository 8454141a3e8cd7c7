// Colour fills over the whole surface; alpha stays as the masks left it.

#include <cmath>
#include <cstdint>

#include "gui/guidib.h"
#include "gui/pixelmath.h"

namespace lumra {
namespace {

inline void SetColor(TPixel& p, TColor color) { p = (p & kAlphaMask) | (color & ~kAlphaMask); }

// Visits every pixel with the gradient parameter t of its foot on P1P2, clamped to 0..1.
// A degenerate P1 = P2 gives t = 0 everywhere.
template <class PerPixel>
void ForEachGradientPixel(TGUIDIB& surface, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                          PerPixel perPixel) {
  const double dx = static_cast<double>(std::int64_t{x2} - x1), dy = static_cast<double>(std::int64_t{y2} - y1);
  const double length2 = dx * dx + dy * dy;
  for (std::int32_t y = 0; y < surface.Height(); ++y) {
    const auto row = surface.ScanLine(y);
    const double along = static_cast<double>(std::int64_t{y} - y1) * dy;
    for (std::int32_t x = 0; x < surface.Width(); ++x) {
      const double t = length2 > 0 ? (static_cast<double>(std::int64_t{x} - x1) * dx + along) / length2 : 0;
      perPixel(row[x], UnitParameter(t));
    }
  }
}

}  // namespace

void TGUIDIB::FillGradient(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, TColor color1,
                           TColor color2) {
  ForEachGradientPixel(*this, x1, y1, x2, y2,
                       [=](TPixel& p, float t) { SetColor(p, MixColor(color1, color2, t)); });
}

void TGUIDIB::FillNoisyGradient(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                                TColor color1, TColor color2, TColor noise1, TColor noise2, bool mono,
                                RandomGenerator& random) {
  ForEachGradientPixel(*this, x1, y1, x2, y2, [=, &random](TPixel& p, float t) {
    const TColor end2 = NoiseColor(color2, noise2, mono, random);
    const TColor end1 = NoiseColor(color1, noise1, mono, random);
    SetColor(p, MixColor(end1, end2, t));
  });
}

void TGUIDIB::FillRadialGradient(TColor color1, TColor color2, float cx, float cy, float radius) {
  for (std::int32_t y = 0; y < Height(); ++y) {
    const auto row = ScanLine(y);
    const double ry = y - static_cast<double>(cy);
    for (std::int32_t x = 0; x < Width(); ++x) {
      const double rx = x - static_cast<double>(cx);
      const double t = std::sqrt(rx * rx + ry * ry) / radius;
      SetColor(row[x], MixColor(color1, color2, UnitParameter(t)));
    }
  }
}

}  // namespace lumra
