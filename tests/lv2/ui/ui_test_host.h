#pragma once
// A host of the UI for tests: a display connection and a parent window of its own, the UI loaded
// from its shared object and instantiated in that window, every port write it makes noted, and
// pointer events sent to its window as a window manager would deliver them.

#include <X11/Xlib.h>
#include <lv2/ui/ui.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "plugin/param_block.h"

namespace lumra::test {

struct PortWrite {
  std::uint32_t Port = 0;
  float Value = 0;
};

// The descriptor lv2ui_descriptor(index) gives, from a library loaded for the test's life.
const LV2UI_Descriptor* UiDescriptor(std::uint32_t index);

class UiTestHost {
 public:
  // Throws std::runtime_error when the display, the library or the UI is missing.
  UiTestHost();
  ~UiTestHost();
  UiTestHost(const UiTestHost&) = delete;
  UiTestHost& operator=(const UiTestHost&) = delete;

  // Every knob and Power, as a host reports them when the UI opens.
  void SendBlock(const ParamBlock& block);
  void SendPort(std::uint32_t port, float value);

  // Calls the UI's idle until done() holds; false when it still does not after a few seconds.
  bool IdleUntil(const std::function<bool()>& done);
  // Calls idle for a while, for the UI to take what it was sent.
  void IdleFor(std::chrono::milliseconds time);

  // The UI window's pixels as 0xRRGGBB, rows top first.
  std::vector<std::uint32_t> WindowPixels() const;

  void Press(unsigned int button, std::int32_t x, std::int32_t y);
  void Move(unsigned int heldButtonMask, std::int32_t x, std::int32_t y);
  void Release(unsigned int button, std::int32_t x, std::int32_t y);

  // The writes since the last TakeWrites.
  const std::vector<PortWrite>& Writes() const { return writes_; }
  std::vector<PortWrite> TakeWrites();

  // The size the UI asked for through ui:resize, if it did.
  std::optional<std::pair<int, int>> AskedSize() const { return askedSize_; }

 private:
  static void Write(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size,
                    std::uint32_t protocol, const void* buffer);
  static int Resize(LV2UI_Feature_Handle handle, int width, int height);
  void SendButton(int type, long mask, unsigned int button, std::int32_t x, std::int32_t y);
  void SendPointer(XEvent& event, long mask);

  struct DisplayClose {
    void operator()(Display* display) const { XCloseDisplay(display); }
  };
  std::unique_ptr<Display, DisplayClose> display_;
  Window parent_ = None;
  const LV2UI_Descriptor* descriptor_ = nullptr;
  LV2UI_Handle ui_ = nullptr;
  Window uiWindow_ = None;
  const LV2UI_Idle_Interface* idle_ = nullptr;
  std::vector<PortWrite> writes_;
  std::optional<std::pair<int, int>> askedSize_;
};

}  // namespace lumra::test
