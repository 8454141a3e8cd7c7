// The UI's LV2 entry points: the descriptor, instantiation from the host's parent window, port
// events and the idle call. Nothing thrown inside gets past them.

#include <lv2/ui/ui.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

#include "editor/control_table.h"
#include "lv2/ports.h"
#include "lv2/ui/face_ui.h"

namespace lumra::lv2ui {
namespace {

void* FeatureData(const LV2_Feature* const* features, const char* uri) {
  for (; features != nullptr && *features != nullptr; ++features)
    if (std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
  return nullptr;
}

void ReportFailure(const char* what, const std::exception& e) {
  std::fprintf(stderr, "lreverb_ui: %s: %s\n", what, e.what());
}

FaceUi& Ui(LV2UI_Handle handle) { return *static_cast<FaceUi*>(handle); }

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
  // The window lives inside the host's: without one there is nowhere to show the face.
  void* const parent = FeatureData(features, LV2_UI__parent);
  if (parent == nullptr || write == nullptr || widget == nullptr) return nullptr;
  const std::int32_t channelCount = pluginUri != nullptr && lv2::MonoUri == pluginUri ? 1 : 2;
  try {
    auto ui =
        std::make_unique<FaceUi>(static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent)),
                                 write, controller, channelCount);
    *widget = reinterpret_cast<LV2UI_Widget>(static_cast<std::uintptr_t>(ui->Id()));
    if (const auto* resize =
            static_cast<const LV2UI_Resize*>(FeatureData(features, LV2_UI__resize)))
      resize->ui_resize(resize->handle, editor::FaceWidth, editor::FaceHeight);
    return ui.release();
  } catch (const std::exception& e) {
    ReportFailure("the face cannot be shown", e);
    return nullptr;
  }
}

// Takes back the ownership handed to the host by Instantiate.
void Cleanup(LV2UI_Handle handle) {
  const std::unique_ptr<FaceUi> ui(static_cast<FaceUi*>(handle));
}

void PortEvent(LV2UI_Handle handle, std::uint32_t port, std::uint32_t size, std::uint32_t format,
               const void* buffer) {
  if (format != lv2::FloatProtocol || size != sizeof(float) || buffer == nullptr) return;
  float value = 0;
  std::memcpy(&value, buffer, sizeof value);
  Ui(handle).PortEvent(port, value);
}

int Idle(LV2UI_Handle handle) {
  try {
    Ui(handle).Idle();
    return 0;
  } catch (const std::exception& e) {
    // The host stops calling and may close the UI; the plug-in is untouched.
    ReportFailure("the face stopped", e);
    return 1;
  }
}

constexpr LV2UI_Idle_Interface IdleInterface{Idle};

const void* ExtensionData(const char* uri) {
  return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &IdleInterface : nullptr;
}

constexpr LV2UI_Descriptor Descriptor{lv2::UiUri.data(), Instantiate, Cleanup, PortEvent,
                                      ExtensionData};

}  // namespace
}  // namespace lumra::lv2ui

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(std::uint32_t index) {
  return index == 0 ? &lumra::lv2ui::Descriptor : nullptr;
}
