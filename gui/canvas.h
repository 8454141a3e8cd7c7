#pragma once
// The window toolkit's canvas operations, on a drawing surface: one-pixel pen lines and outlined
// rectangles, and rectangle copies with the source-copy and source-invert raster operations.
// They follow the toolkit's conventions, so a picture composed here looks as it would on the
// toolkit's canvas: a line leaves out its end point, and the outline of the rectangle
// (x1, y1)-(x2, y2) lies within (x1, y1)-(x2 - 1, y2 - 1).
//
// Pen and copies write colour and leave alpha alone. Everything is clipped to the surface.

#include <cstdint>

#include "gui/fdib.h"

namespace lumra {

enum class CopyMode : std::uint8_t {
  SourceCopy,    // destination := source
  SourceInvert,  // destination := destination XOR source
};

// A one-pixel line from (x1, y1) up to, not including, (x2, y2), stepping one pixel at a time
// along the longer axis (Bresenham); meant for end points on or near the surface.
void PenLine(TFDIB& surface, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, TColor color);

// The outline of rect (normalised first), one pixel wide, along its inside edges.
void PenRectangle(TFDIB& surface, const TRect& rect, TColor color);

// Copies source's rectangle `from` onto dest with its top-left corner at (x, y). Source and dest
// may be the same surface.
void CopyRect(TFDIB& dest, std::int32_t x, std::int32_t y, const TFDIB& source, const TRect& from, CopyMode mode);

}  // namespace lumra
