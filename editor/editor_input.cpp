#include "editor/editor_input.h"

#include "editor/controls.h"

namespace lumra::editor {

void EditorInput::MouseDown(MouseButton button, std::int32_t x, std::int32_t y) {
  if (button != MouseButton::Left) return;
  // Every check is made, whatever the earlier ones found; the areas do not overlap.
  if (Contains(LibraryButton.HitArea, x, y)) window_.OpenLibrary();
  if (Contains(PowerSwitch.HitArea, x, y)) {
    effect_.TogglePower();
    state_.PowerPressed = true;
    // So that a release outside the window still puts the label out.
    window_.CaptureMouse();
  }
  if (const auto element = KnobAt(x, y)) {
    state_.DragIndex = *element;
    state_.Dragging = true;
    window_.CaptureMouse();
  }
  window_.Paint(effect_.Current());
}

void EditorInput::MouseMove(std::int32_t x, std::int32_t y) {
  if (!state_.Dragging) return;
  ParamBlock block = effect_.Current();
  block.Values[static_cast<std::size_t>(state_.DragIndex)] = AngleValue(state_.DragIndex, x, y);
  window_.Paint(block);
  effect_.Apply(block);
  window_.Paint(effect_.Current());
}

void EditorInput::MouseUp() {
  state_.Dragging = false;
  state_.PowerPressed = false;
  window_.Paint(effect_.Current());
  window_.ReleaseMouse();
}

void EditorInput::CaptureLost() {
  if (!state_.Dragging && !state_.PowerPressed) return;
  state_.Dragging = false;
  state_.PowerPressed = false;
  window_.Paint(effect_.Current());
}

}  // namespace lumra::editor
