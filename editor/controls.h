#pragma once
// Where the mouse meets the face: which control a point is on, which pointer frame a knob shows
// and which value the pointer's direction around a knob stands for.

#include <cstdint>
#include <optional>

#include "editor/control_table.h"

namespace lumra::editor {

inline constexpr int KnobFrameCount = 64;

// The frame of the knob sheet that shows value v: Round(63 v), v held to 0..1 first.
int KnobFrame(float v);

// The element whose knob takes the mouse at (x, y), if any.
std::optional<int> KnobAt(std::int32_t x, std::int32_t y);

bool Contains(const TRect& area, std::int32_t x, std::int32_t y);

// The value a knob is turned to while the pointer is at (x, y): the angle clockwise from
// straight down around the knob's centre, held to 30..330 degrees and mapped onto 0..1. The
// distance plays no part; the pointer may be anywhere, on the centre the value is 0.
float AngleValue(int element, std::int32_t x, std::int32_t y);

}  // namespace lumra::editor
