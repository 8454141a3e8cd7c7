#include "gui/guidraw.h"

#include <cmath>
#include <cstdint>

#include "gui/pixelmath.h"

namespace lumra {

TDIVLine::TDIVLine(std::int32_t count, float startAngle, float endAngle, std::int32_t majorEvery, float radius,
                   float minorLength, float majorLength, float minorWidth, float majorWidth, TColor color,
                   bool tapered)
    : TGUIDIB(0, 0) {
  const std::int32_t size = SaturateInt32(2 * std::int64_t{RoundToCoordinate(static_cast<double>(radius) + majorLength + majorWidth)});
  SetSize(size, size);
  OriginX = Width() / 2;
  OriginY = Height() / 2;
  const double cx = (Width() - 1) / 2.0, cy = (Height() - 1) / 2.0;
  const double sweep = static_cast<double>(endAngle) - startAngle;
  for (std::int32_t i = 0; i < count; ++i) {
    // A lone tick has no sweep to divide and sits at startAngle; majorEvery 0 divides nothing and
    // makes every tick major.
    const double theta = count > 1 ? startAngle + sweep * i / (count - 1) : startAngle;
    const bool major = majorEvery == 0 || i % majorEvery == 0;
    const double length = major ? majorLength : minorLength;
    const float width = major ? majorWidth : minorWidth;
    const double c = std::cos(theta), s = std::sin(theta);
    const auto inX = static_cast<float>(cx + radius * c), inY = static_cast<float>(cy + radius * s);
    const auto outX = static_cast<float>(cx + (radius + length) * c);
    const auto outY = static_cast<float>(cy + (radius + length) * s);
    if (tapered)
      MaskTaperedLine(inX, inY, outX, outY, width, 0, 1);
    else
      MaskLine(inX, inY, outX, outY, width, 1);
  }
  FillColor(color);
}

TDial2::TDial2(std::int32_t radius, std::int32_t ringRadius, std::int32_t topRadius, TColor baseColor,
               TColor topColor, float light, std::int32_t shadowOffset, float shadowAlpha)
    : TGUIDIB(0, 0) {
  // Sizes and offsets in 64 bits, saturated: absurd radii fail to allocate instead of overflowing.
  const std::int32_t diameter = SaturateInt32(2 * std::int64_t{radius});
  const std::int32_t ringDiameter = SaturateInt32(2 * std::int64_t{ringRadius});
  const std::int32_t topDiameter = SaturateInt32(2 * std::int64_t{topRadius});
  const std::int32_t ringAt = SaturateInt32(std::int64_t{radius} - ringRadius);
  const std::int32_t topAt = SaturateInt32(std::int64_t{radius} - topRadius);
  const std::int32_t size = SaturateInt32(std::int64_t{diameter} + shadowOffset);
  SetSize(size, size);
  OriginX = radius;
  OriginY = radius;
  const auto darker = static_cast<float>(1.0 / light);
  TGUIDIB layer(diameter, diameter);

  layer.MaskFullCircle(20);
  layer.FillColor(0x000000);
  layer.ScaleAlpha(shadowAlpha);
  layer.DrawTo(*this, shadowOffset, shadowOffset);

  layer.SetSize(diameter, diameter);
  layer.MaskFullCircle(1);
  layer.FillGradient(0, 0, diameter, diameter, ScaleColor(baseColor, light), ScaleColor(baseColor, darker));
  layer.DrawTo(*this, 0, 0);

  layer.SetSize(ringDiameter, ringDiameter);
  layer.MaskFullCircle(1);
  layer.FillGradient(0, 0, ringDiameter, ringDiameter, ScaleColor(baseColor, darker),
                     ScaleColor(baseColor, light));
  layer.DrawTo(*this, ringAt, ringAt);

  layer.SetSize(topDiameter, topDiameter);
  layer.MaskFullCircle(1);
  layer.FillColor(topColor);
  layer.DrawTo(*this, topAt, topAt);
}

}  // namespace lumra
