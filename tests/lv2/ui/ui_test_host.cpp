// GoogleTest before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "tests/lv2/ui/ui_test_host.h"

#include <X11/Xutil.h>
#include <dlfcn.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include "editor/control_table.h"

namespace lumra::test {
namespace {

constexpr auto IdleStep = std::chrono::milliseconds(5);
constexpr auto PatienceLimit = std::chrono::seconds(5);

struct ImageDestroy {
  void operator()(XImage* image) const { XDestroyImage(image); }
};

struct LibraryClose {
  void operator()(void* library) const { dlclose(library); }
};

}  // namespace

const LV2UI_Descriptor* UiDescriptor(std::uint32_t index) {
  static const std::unique_ptr<void, LibraryClose> library(
      dlopen(LREVERB_UI_MODULE, RTLD_NOW | RTLD_LOCAL));
  if (!library) throw std::runtime_error(std::string("cannot load the UI: ") + dlerror());
  const auto entry =
      reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library.get(), "lv2ui_descriptor"));
  if (entry == nullptr) throw std::runtime_error("the UI exports no lv2ui_descriptor");
  return entry(index);
}

UiTestHost::UiTestHost() : display_(XOpenDisplay(nullptr)) {
  if (!display_) throw std::runtime_error("no X display: run under xvfb-run");
  Display* display = display_.get();
  parent_ = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, editor::FaceWidth,
                                editor::FaceHeight, 0, 0, 0);
  XMapWindow(display, parent_);
  XSync(display, False);

  descriptor_ = UiDescriptor(0);
  LV2_Feature parent{LV2_UI__parent, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent_))};
  LV2UI_Resize resize{this, &Resize};
  LV2_Feature resizeFeature{LV2_UI__resize, &resize};
  const LV2_Feature* features[] = {&parent, &resizeFeature, nullptr};
  LV2UI_Widget widget = nullptr;
  ui_ = descriptor_->instantiate(descriptor_, "urn:quorel:lumra-reverb", "", &Write, this, &widget,
                                 features);
  if (ui_ == nullptr) throw std::runtime_error("the UI refused to start");
  uiWindow_ = static_cast<Window>(reinterpret_cast<std::uintptr_t>(widget));
  idle_ =
      static_cast<const LV2UI_Idle_Interface*>(descriptor_->extension_data(LV2_UI__idleInterface));
  if (idle_ == nullptr) throw std::runtime_error("the UI offers no idle interface");
}

UiTestHost::~UiTestHost() {
  if (ui_ != nullptr) descriptor_->cleanup(ui_);
  XDestroyWindow(display_.get(), parent_);
}

void UiTestHost::SendBlock(const ParamBlock& block) {
  for (std::uint32_t port = 0; port < KnobCount; ++port) SendPort(port, block.Values[port]);
  SendPort(KnobCount, block.Power != 0 ? 1.0f : 0.0f);
}

void UiTestHost::SendPort(std::uint32_t port, float value) {
  descriptor_->port_event(ui_, port, sizeof value, 0, &value);
}

bool UiTestHost::IdleUntil(const std::function<bool()>& done) {
  const auto giveUp = std::chrono::steady_clock::now() + PatienceLimit;
  do {
    if (idle_->idle(ui_) != 0) return false;
    XSync(display_.get(), False);
    if (done()) return true;
    std::this_thread::sleep_for(IdleStep);
  } while (std::chrono::steady_clock::now() < giveUp);
  return false;
}

void UiTestHost::IdleFor(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < end) {
    idle_->idle(ui_);
    XSync(display_.get(), False);
    std::this_thread::sleep_for(IdleStep);
  }
}

std::vector<std::uint32_t> UiTestHost::WindowPixels() const {
  const std::unique_ptr<XImage, ImageDestroy> image(XGetImage(
      display_.get(), uiWindow_, 0, 0, editor::FaceWidth, editor::FaceHeight, AllPlanes, ZPixmap));
  if (!image) throw std::runtime_error("the UI window cannot be read");
  // The virtual display is 24-bit TrueColor, as the test registers it.
  EXPECT_EQ(image->red_mask, 0xFF0000u);
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(editor::FaceWidth) * editor::FaceHeight);
  for (int y = 0; y < editor::FaceHeight; ++y)
    for (int x = 0; x < editor::FaceWidth; ++x)
      pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image.get(), x, y) & 0xFFFFFF));
  return pixels;
}

void UiTestHost::Press(unsigned int button, std::int32_t x, std::int32_t y) {
  SendButton(ButtonPress, ButtonPressMask, button, x, y);
}

void UiTestHost::Move(unsigned int heldButtonMask, std::int32_t x, std::int32_t y) {
  XEvent event{};
  event.xmotion = {MotionNotify,
                   0,
                   True,
                   display_.get(),
                   uiWindow_,
                   DefaultRootWindow(display_.get()),
                   None,
                   CurrentTime,
                   x,
                   y,
                   x,
                   y,
                   heldButtonMask,
                   NotifyNormal,
                   True};
  SendPointer(event, ButtonMotionMask);
}

void UiTestHost::Release(unsigned int button, std::int32_t x, std::int32_t y) {
  SendButton(ButtonRelease, ButtonReleaseMask, button, x, y);
}

void UiTestHost::SendButton(int type, long mask, unsigned int button, std::int32_t x,
                            std::int32_t y) {
  XEvent event{};
  event.xbutton = {type, 0, True, display_.get(), uiWindow_, DefaultRootWindow(display_.get()),
                   None, CurrentTime, x, y, x, y, 0, button, True};
  SendPointer(event, mask);
}

void UiTestHost::SendPointer(XEvent& event, long mask) {
  XSendEvent(display_.get(), uiWindow_, False, mask, &event);
  XFlush(display_.get());
}

std::vector<PortWrite> UiTestHost::TakeWrites() { return std::exchange(writes_, {}); }

void UiTestHost::Write(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size,
                       std::uint32_t protocol, const void* buffer) {
  EXPECT_EQ(size, sizeof(float));
  EXPECT_EQ(protocol, 0u);
  if (size != sizeof(float)) return;
  float value = 0;
  std::memcpy(&value, buffer, sizeof value);
  static_cast<UiTestHost*>(controller)->writes_.push_back({port, value});
}

int UiTestHost::Resize(LV2UI_Feature_Handle handle, int width, int height) {
  static_cast<UiTestHost*>(handle)->askedSize_ = {width, height};
  return 0;
}

}  // namespace lumra::test
