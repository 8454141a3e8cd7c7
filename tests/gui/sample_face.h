#pragma once
// Everything the editor draws once when its window opens, built the way the editor builds it:
// the grained face with its panel lines, buttons, labels, titles, display panels and 36 knob
// bodies, and the sheet of 64 pointer frames with tick rings. Used by the swatch sheet and the
// drawing benchmark.

#include <array>

#include "gui/guidib.h"

namespace lumra {

struct SampleFace {
  TGUIDIB Face{492, 425};
  TGUIDIB KnobSheet{320, 320};
};

// The centre of the first knob of each of the six knob groups; a group is two rows of three
// knobs, 56 pixels apart across and 60 down.
inline constexpr std::array<std::array<int, 2>, 6> kKnobGroups = {
    {{30, 44}, {30, 181}, {350, 44}, {350, 318}, {30, 318}, {350, 181}}};

SampleFace DrawSampleFace();

}  // namespace lumra
