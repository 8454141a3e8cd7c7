// Anti-aliased discs and lines: every pixel of the visit box is tested against its exact
// distance from the shape, and coverage ramps over the last `feather` pixels inside the edge.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gui/guidib.h"
#include "gui/pixelmath.h"

namespace lumra {
namespace {

// The shape's box made normal, inflated by margin and clipped to the surface.
TRect VisitBox(const TFDIB& surface, const TRect& shapeBox, std::int32_t margin) {
  const std::int32_t w = surface.Width(), h = surface.Height();
  return ClipRect(GrowBounds({w, h, 0, 0}, shapeBox, margin), {0, 0, w, h});
}

// Full coverage deeper than feather inside the edge at `edge`, a ramp of slope k up to the edge.
void Cover(TPixel& p, double d, double edge, double feather, double k) {
  if (edge - feather > d)
    p |= kAlphaMask;
  else if (d < edge)
    AddCoverage(p, (edge - d) * k);
}

// A segment with round ends whose half-width at the foot parameter t is halfWidth(t).
template <class HalfWidth>
void MaskSegment(TGUIDIB& surface, float x1, float y1, float x2, float y2, std::int32_t margin,
                 float feather, HalfWidth halfWidth) {
  const TRect box = VisitBox(surface, {RoundToCoordinate(x1), RoundToCoordinate(y1), RoundToCoordinate(x2), RoundToCoordinate(y2)}, margin);
  const double f = feather, k = 255.0 / f;
  const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  const double length2 = dx * dx + dy * dy;
  for (std::int32_t y = box.Top; y < box.Bottom; ++y) {
    const auto row = surface.ScanLine(y);
    for (std::int32_t x = box.Left; x < box.Right; ++x) {
      // With P1 = P2 the foot is undefined; t = 0 makes the segment a disc around P1.
      double t = length2 > 0 ? ((x - static_cast<double>(x1)) * dx + (y - static_cast<double>(y1)) * dy) / length2 : 0;
      if (!(t >= 0)) t = 0;
      if (t > 1) t = 1;
      const double cx = (1 - t) * x1 + t * x2, cy = (1 - t) * y1 + t * y2;
      const double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
      Cover(row[x], d, halfWidth(t), f, k);
    }
  }
}

}  // namespace

void TGUIDIB::MaskCircle(float cx, float cy, float radius, float feather) {
  const double r = radius;
  const TRect box = VisitBox(*this, {RoundToCoordinate(cx - r), RoundToCoordinate(cy - r), RoundToCoordinate(cx + r), RoundToCoordinate(cy + r)}, 0);
  const double f = feather, k = 255.0 / f;
  for (std::int32_t y = box.Top; y < box.Bottom; ++y) {
    const auto row = ScanLine(y);
    const double ry = y - static_cast<double>(cy);
    for (std::int32_t x = box.Left; x < box.Right; ++x) {
      const double rx = x - static_cast<double>(cx);
      Cover(row[x], std::sqrt(rx * rx + ry * ry), r, f, k);
    }
  }
}

void TGUIDIB::MaskFullCircle(float feather) {
  MaskCircle(static_cast<float>(Width() / 2.0), static_cast<float>(Height() / 2.0),
             static_cast<float>((Width() - 1) / 2.0), feather);
}

void TGUIDIB::MaskLine(float x1, float y1, float x2, float y2, float width, float feather) {
  // The box grows by the full width, twice what the round ends need.
  const double h = static_cast<double>(width) / 2;
  MaskSegment(*this, x1, y1, x2, y2, RoundToCoordinate(width), feather, [h](double) { return h; });
}

void TGUIDIB::MaskTaperedLine(float x1, float y1, float x2, float y2, float width1, float width2,
                              float feather) {
  const double w1 = width1, w2 = width2;
  MaskSegment(*this, x1, y1, x2, y2, RoundToCoordinate(std::max(w1, w2)), feather,
              [w1, w2](double t) { return (1 - t) * w1 / 2 + t * w2 / 2; });
}

}  // namespace lumra
