#pragma once
// What the editor does with the mouse: the left button opens the preset library, flips the Power
// switch or grabs a knob; while a knob is held every move turns it to the pointer's direction,
// paints, applies and paints again; any release ends it. The window turns its messages into
// these calls and carries out what it is asked through EditorWindowActions.

#include <cstdint>

#include "editor/paint.h"
#include "plugin/param_block.h"

namespace lumra::editor {

// The effect as the editor changes it.
class EffectControls {
 public:
  virtual ~EffectControls() = default;
  // The live parameter block.
  virtual ParamBlock Current() const = 0;
  // Stores the block and rebuilds every effect setting from it; the host sees one change.
  virtual void Apply(const ParamBlock& block) = 0;
  // Flips the Power byte and clears every effect object, without an application.
  virtual void TogglePower() = 0;
};

// What the input handling asks of its window.
class EditorWindowActions {
 public:
  virtual ~EditorWindowActions() = default;
  // Composes a paint of block and puts it on the window (nothing while the window is hidden).
  virtual void Paint(const ParamBlock& block) = 0;
  // Shows the modal preset library dialog; returns when it is closed.
  virtual void OpenLibrary() = 0;
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
};

enum class MouseButton : std::uint8_t { Left, Right, Middle };

class EditorInput {
 public:
  EditorInput(EffectControls& effect, EditorWindowActions& window) : effect_(effect), window_(window) {}

  void MouseDown(MouseButton button, std::int32_t x, std::int32_t y);
  void MouseMove(std::int32_t x, std::int32_t y);
  // Any button.
  void MouseUp();
  // Another window took the mouse: the knob is let go as on a release.
  void CaptureLost();

  const PaintState& State() const { return state_; }

 private:
  EffectControls& effect_;
  EditorWindowActions& window_;
  PaintState state_;
};

}  // namespace lumra::editor
