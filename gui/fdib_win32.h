#pragma once
// Showing a surface in a window: the one drawing call that needs Windows.

#include <windows.h>

#include "gui/fdib.h"

namespace lumra {

// Copies the pixels of `source` (a rectangle of surface, clipped to it) onto dc with its top-left
// corner at (x, y). The alpha byte plays no part.
void DrawToDC(const TFDIB& surface, HDC dc, int x, int y, const TRect& source);

}  // namespace lumra
