#pragma once
// Ready-made pieces of the editor's face. Each constructor sizes its surface, draws into it and
// puts the origin at the centre of the drawing; the result is stamped with DrawTo.

#include <cstdint>

#include "gui/guidib.h"

namespace lumra {

// A ring of scale ticks from startAngle to endAngle (radians, clockwise on screen), every
// majorEvery-th one (the first included) long and wide, starting at radius and pointing outward,
// all in one colour. Tapered ticks narrow to a point at their outer end.
class TDIVLine : public TGUIDIB {
 public:
  TDIVLine(std::int32_t count, float startAngle, float endAngle, std::int32_t majorEvery, float radius,
           float minorLength, float majorLength, float minorWidth, float majorWidth, TColor color, bool tapered);
};

// A knob body centred on the origin (radius, radius): a soft black drop shadow shifted by
// shadowOffset, a rim disc shaded light to dark from top left to bottom right, a ring disc of
// ringRadius shaded the other way, and a flat top disc of topRadius. light > 1 sets the contrast.
class TDial2 : public TGUIDIB {
 public:
  TDial2(std::int32_t radius, std::int32_t ringRadius, std::int32_t topRadius, TColor baseColor, TColor topColor,
         float light, std::int32_t shadowOffset, float shadowAlpha);
};

}  // namespace lumra
