#include "editor/paint.h"

#include <string>

#include "common/exact_math.h"
#include "editor/controls.h"
#include "editor/sketches.h"
#include "editor/value_text.h"
#include "gui/canvas.h"
#include "gui/textraster.h"

namespace lumra::editor {

TFont WindowFont() {
  TFont font;
  font.Name = "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";
  font.Charset = 128;  // Shift-JIS
  font.Height = 12;
  return font;
}

TPoint ValueTextAt(int element, std::int32_t n) {
  const TPoint centre = KnobCentre(element);
  return {centre.X - RoundToInt32(2.5 * n + 1), centre.Y};
}

void ComposePaint(const FacePictures& pictures, const ParamBlock& block, const PaintState& state,
                  TTextWriter& text, char decimalSeparator, TFDIB& backBuffer) {
  const TFDIB& face = pictures.Face;
  if (backBuffer.Width() != face.Width() || backBuffer.Height() != face.Height()) backBuffer = TFDIB(face.Width(), face.Height());
  CopyRect(backBuffer, 0, 0, face, {0, 0, face.Width(), face.Height()}, CopyMode::SourceCopy);
  if (state.PowerPressed)
    CopyRect(backBuffer, PowerLitArea.Left, PowerLitArea.Top, pictures.PowerLit,
             {0, 0, pictures.PowerLit.Width(), pictures.PowerLit.Height()}, CopyMode::SourceCopy);

  for (int element = 0; element < KnobCount; ++element) {
    const float v = block.Values[static_cast<std::size_t>(element)];
    const int frame = KnobFrame(v);
    const std::int32_t column = frame % 8, row = frame / 8;
    const TPoint centre = KnobCentre(element);
    const std::int32_t half = KnobFrameSize / 2;
    CopyRect(backBuffer, centre.X - half, centre.Y - half, pictures.KnobSheet,
             {KnobFrameSize * column, KnobFrameSize * row, KnobFrameSize * (column + 1), KnobFrameSize * (row + 1)},
             CopyMode::SourceInvert);
    const std::string value = ValueText(element, v, decimalSeparator);
    const TPoint at = ValueTextAt(element, CountCharacters(value));
    const bool dragged = state.Dragging && state.DragIndex == element;
    text.Write(backBuffer, at.X, at.Y, value, dragged ? DraggedValueColor : ValueTextColor);
  }

  if (block.Power != 0) {
    DrawDecaySketch(backBuffer, block);
    DrawRoomSketch(backBuffer, block);
  }
}

}  // namespace lumra::editor
