#pragma once
// The box filter behind MaskText, apart from the platform text output so that it can be checked
// on a known picture.

#include <cstdint>

#include "gui/fdib.h"

namespace lumra {

// Adds to the alpha of every pixel of box (clipped to target) the blue bytes of scratch in the
// window of rows (ty - y) * s - b .. (ty - y) * s + s + b - 1 and the same for columns, each
// taken as blue / 255, summed, divided by (s + b)^2 and scaled to 0..255. Window positions off
// scratch count as 0.
void AddTextCoverage(TFDIB& target, const TFDIB& scratch, const TRect& box, std::int32_t x, std::int32_t y,
                     std::int32_t s, std::int32_t b);

}  // namespace lumra
