#pragma once
// The effect as the face changes it from a UI: a mirror of the plug-in's knob and Power ports,
// holding the load-time settings until the host reports others. The face's changes go to the
// host as port writes; the plug-in applies them itself.

#include <lv2/ui/ui.h>

#include <cstdint>

#include "editor/editor_input.h"

namespace lumra::lv2ui {

class PortControls final : public editor::EffectControls {
 public:
  PortControls(LV2UI_Write_Function write, LV2UI_Controller controller)
      : write_(write), controller_(controller) {}

  ParamBlock Current() const override { return mirror_; }
  // Writes every knob (and Power) whose value differs from the mirror.
  void Apply(const ParamBlock& block) override;
  // Writes the Power port flipped; clearing the effect is the plug-in's part.
  void TogglePower() override;

  // A knob or Power port's value as the host reports it; true when the mirror changed.
  bool PortChanged(std::uint32_t port, float value);

 private:
  void Write(std::uint32_t port, float value);

  LV2UI_Write_Function write_;
  LV2UI_Controller controller_;
  ParamBlock mirror_ = LoadTimeBlock();
};

}  // namespace lumra::lv2ui
