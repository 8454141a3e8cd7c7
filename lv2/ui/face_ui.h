#pragma once
// The editor's face in a host's window: the portable core composes the pixels, this puts them
// on the UI's X window, turns the window's pointer events into the editor's input and scrolls
// the level meter from the peak ports while the window can be seen.

#include <chrono>
#include <cstdint>

#include "editor/editor_input.h"
#include "editor/face.h"
#include "editor/level_meter.h"
#include "gui/textwriter.h"
#include "lv2/ui/port_controls.h"
#include "lv2/ui/x_window.h"

namespace lumra::lv2ui {

class FaceUi final : private editor::EditorWindowActions {
 public:
  // channelCount: 2 for the stereo plug-in, 1 for the mono one. Throws where the window cannot be
  // made or the face's fonts are missing.
  FaceUi(Window parent, LV2UI_Write_Function write, LV2UI_Controller controller,
         std::int32_t channelCount);

  FaceUi(const FaceUi&) = delete;
  FaceUi& operator=(const FaceUi&) = delete;

  Window Id() const { return window_.Id(); }

  // A control port's value from the host.
  void PortEvent(std::uint32_t port, float value);

  // The host's regular call: handles the window's events, repaints after port changes and ticks
  // the meter every MeterInterval.
  void Idle();

  static constexpr std::chrono::milliseconds MeterInterval{50};

 private:
  void Handle(XEvent& event);
  void Compose(const ParamBlock& block);
  void Paint(const ParamBlock& block) override;
  // The Library button has no preset dialog here: a host lists and stores presets itself.
  void OpenLibrary() override {}
  // X grabs the pointer for the window while a button is held: motions and the release come here
  // wherever the pointer goes.
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  // The last composed paint, with the meter over it.
  void PutWhole();
  void MeterTick();

  editor::FacePictures pictures_;
  TTextWriter text_;
  char decimalSeparator_;
  std::int32_t channelCount_;
  PortControls controls_;
  editor::EditorInput input_;
  TFDIB backBuffer_{editor::FaceWidth, editor::FaceHeight};
  editor::LevelMeter meter_;
  TFDIB meterStrip_{editor::LevelMeter::Width, editor::LevelMeter::Height};
  float peakLeft_ = 0;
  float peakRight_ = 0;
  bool composeDue_ = true;  // the back buffer does not show the mirror yet
  std::chrono::steady_clock::time_point nextMeterTick_;
  XChildWindow window_;
};

}  // namespace lumra::lv2ui
