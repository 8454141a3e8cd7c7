#include "lv2/ui/face_ui.h"

#include <optional>

#include "editor/decimal_separator.h"
#include "editor/paint.h"
#include "lv2/ports.h"

namespace lumra::lv2ui {
namespace {

// X numbers the buttons 1 left, 2 middle, 3 right; 4 to 7 are wheel steps, which the face ignores.
std::optional<editor::MouseButton> FaceButton(unsigned int button) {
  switch (button) {
    case Button1:
      return editor::MouseButton::Left;
    case Button2:
      return editor::MouseButton::Middle;
    case Button3:
      return editor::MouseButton::Right;
    default:
      return std::nullopt;
  }
}

}  // namespace

FaceUi::FaceUi(Window parent, LV2UI_Write_Function write, LV2UI_Controller controller,
               std::int32_t channelCount)
    : pictures_(editor::BuildFace()),
      text_(editor::WindowFont()),
      decimalSeparator_(editor::UserDecimalSeparator()),
      channelCount_(channelCount),
      controls_(write, controller),
      input_(controls_, *this),
      nextMeterTick_(std::chrono::steady_clock::now() + MeterInterval),
      window_(parent, editor::FaceWidth, editor::FaceHeight) {}

void FaceUi::PortEvent(std::uint32_t port, float value) {
  if (port == lv2::port::PeakLeft) {
    peakLeft_ = value;
  } else if (port == lv2::port::PeakRight) {
    peakRight_ = value;
  } else if (controls_.PortChanged(port, value)) {
    composeDue_ = true;
  }
}

void FaceUi::Idle() {
  XEvent event;
  while (window_.NextEvent(event)) Handle(event);
  // Port changes come in bursts (a preset sets every knob): one paint for all of them.
  if (composeDue_ && window_.Viewable()) {
    Compose(controls_.Current());
    PutWhole();
  }
  const auto now = std::chrono::steady_clock::now();
  if (now >= nextMeterTick_) {
    nextMeterTick_ = now + MeterInterval;
    if (window_.Viewable()) MeterTick();
  }
}

void FaceUi::Handle(XEvent& event) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.count > 0) break;  // the last of a series puts the whole face once
      if (composeDue_) Compose(controls_.Current());
      PutWhole();
      break;
    case ButtonPress:
      if (const auto button = FaceButton(event.xbutton.button))
        input_.MouseDown(*button, event.xbutton.x, event.xbutton.y);
      break;
    case ButtonRelease:
      if (FaceButton(event.xbutton.button)) input_.MouseUp();
      break;
    case MotionNotify:
      // Each move paints twice and writes a port: only where the pointer is now matters.
      window_.SkipToLatestMotion(event);
      input_.MouseMove(event.xmotion.x, event.xmotion.y);
      break;
    case LeaveNotify:
      // Another client grabbed the pointer: the knob is let go as on a release.
      if (event.xcrossing.mode == NotifyGrab) input_.CaptureLost();
      break;
    default:
      break;
  }
}

void FaceUi::Compose(const ParamBlock& block) {
  editor::ComposePaint(pictures_, block, input_.State(), text_, decimalSeparator_, backBuffer_);
  composeDue_ = false;
}

void FaceUi::Paint(const ParamBlock& block) {
  Compose(block);
  PutWhole();
}

void FaceUi::PutWhole() {
  window_.Put(backBuffer_, 0, 0);
  // The meter's history stays on the window through every paint.
  meter_.ComposeOver(backBuffer_, meterStrip_);
  window_.Put(meterStrip_, editor::MeterArea.Left, editor::MeterArea.Top);
}

void FaceUi::MeterTick() {
  meter_.Tick(peakLeft_, peakRight_, channelCount_);
  meter_.ComposeOver(backBuffer_, meterStrip_);
  window_.Put(meterStrip_, editor::MeterArea.Left, editor::MeterArea.Top);
}

}  // namespace lumra::lv2ui
