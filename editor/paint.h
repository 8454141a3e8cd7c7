#pragma once
// One paint of the editor: the face, the lit "Power" label while the switch is held, each knob's
// pointer frame and value text, and with Power on the decay and room sketches, composed on a
// surface that then goes to the window in one step.

#include <cstdint>

#include "editor/control_table.h"
#include "editor/face.h"
#include "gui/fdib.h"
#include "gui/textwriter.h"
#include "plugin/param_block.h"

namespace lumra::editor {

// What the mouse is doing, as far as the picture shows it.
struct PaintState {
  bool Dragging = false;
  int DragIndex = 0;  // the knob being turned, while Dragging
  bool PowerPressed = false;
};

inline constexpr TColor ValueTextColor = 0xE0E0FF;     // pale blue
inline constexpr TColor DraggedValueColor = 0xFFC0C0;  // light red

// The window font: the Japanese proportional Gothic, 12 pixels high, in which the value texts are
// written. Its name is kept as Windows stores it (Shift-JIS), given here in UTF-8.
TFont WindowFont();

// Where a value text of n characters starts: roughly centred under the knob's centre.
TPoint ValueTextAt(int element, std::int32_t n);

// Composes one paint into backBuffer (resized to the face if needed).
void ComposePaint(const FacePictures& pictures, const ParamBlock& block, const PaintState& state,
                  TTextWriter& text, char decimalSeparator, TFDIB& backBuffer);

}  // namespace lumra::editor
