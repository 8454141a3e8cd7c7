#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "editor/controls.h"
#include "editor/editor_input.h"

namespace lumra::editor {
namespace {

// The effect and the window in one. Every call is noted in order, a paint with the value of
// knob 9 it shows.
struct Recorder final : EffectControls, EditorWindowActions {
  ParamBlock Current() const override { return block; }
  void Apply(const ParamBlock& b) override {
    Note("apply");
    block = b;
  }
  void TogglePower() override {
    Note("power");
    block.Power ^= 1;
  }
  void Paint(const ParamBlock& b) override { Note("paint " + std::to_string(b.Values[9])); }
  void OpenLibrary() override { Note("library"); }
  void CaptureMouse() override { Note("capture"); }
  void ReleaseMouse() override { Note("release"); }

  void Note(const std::string& call) { log += call + "; "; }
  // The calls since the last look.
  std::string Take() { return std::exchange(log, {}); }

  ParamBlock block;
  std::string log;
};

}  // namespace

TEST(EditorInput, DraggingAKnobTurnsItPaintsAndApplies) {
  Recorder r;
  EditorInput input(r, r);
  const auto [x, y] = KnobCentre(9);
  input.MouseDown(MouseButton::Right, x, y);
  input.MouseDown(MouseButton::Middle, x, y);
  input.MouseMove(x - 30, y);
  EXPECT_EQ(r.Take(), "");

  input.MouseDown(MouseButton::Left, x + 5, y + 5);
  EXPECT_EQ(r.Take(), "capture; paint 0.000000; ");
  input.MouseMove(x - 30, y);  // straight left: 0.2
  EXPECT_EQ(r.Take(), "paint 0.200000; apply; paint 0.200000; ");
  input.MouseMove(x + 300, y - 1);  // however far off the knob, even off the window
  const std::string turned = std::to_string(AngleValue(9, x + 300, y - 1));
  EXPECT_EQ(r.Take(), "paint " + turned + "; apply; paint " + turned + "; ");
  input.MouseUp();
  EXPECT_EQ(r.Take(), "paint " + turned + "; release; ");
  input.MouseMove(x, y - 30);
  EXPECT_EQ(r.Take(), "");

  input.MouseDown(MouseButton::Left, x, y);
  input.CaptureLost();  // let go as on a release
  EXPECT_FALSE(input.State().Dragging);
}

TEST(EditorInput, PowerLibraryAndEmptySpace) {
  Recorder r;
  EditorInput input(r, r);
  input.MouseDown(MouseButton::Left, 300, 20);
  input.MouseMove(300, 21);
  EXPECT_EQ(r.Take(), "power; capture; paint 0.000000; ");
  EXPECT_TRUE(input.State().PowerPressed);
  input.MouseUp();
  EXPECT_FALSE(input.State().PowerPressed);
  EXPECT_EQ(r.block.Power, 1);  // flipped once, on the press

  r.Take();
  input.MouseDown(MouseButton::Left, 250, 20);
  EXPECT_EQ(r.Take(), "library; paint 0.000000; ");
  input.MouseDown(MouseButton::Left, 246, 140);  // between the controls
  EXPECT_EQ(r.Take(), "paint 0.000000; ");
  EXPECT_FALSE(input.State().Dragging || input.State().PowerPressed);
}

}  // namespace lumra::editor
