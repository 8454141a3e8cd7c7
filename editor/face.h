#pragma once
// The pictures the editor draws once, when its window is created: the face (grained background,
// panel lines, knob bodies, buttons, lettering, display panels), the sheet of 64 knob pointer
// frames and the lit "Power" label. Every paint only copies and stamps these.

#include "gui/guidib.h"

namespace lumra::editor {

struct FacePictures {
  TGUIDIB Face{0, 0};       // 492 x 425, opaque
  TGUIDIB KnobSheet{0, 0};  // 320 x 320: frame f at (40 (f mod 8), 40 (f div 8)), 40 x 40
  TGUIDIB PowerLit{0, 0};   // 32 x 12: the face under the "Power" label, the label orange-red
};

// The grain is drawn from a generator of its own that starts from 0, so the face is the same on
// every build. Throws FontNotFound where the label font is missing.
FacePictures BuildFace();

}  // namespace lumra::editor
