#pragma once
// The editor's hold on the library's one effect instance.

#include "editor/editor_input.h"

namespace lumra::editor {

class PluginControls final : public EffectControls {
 public:
  ParamBlock Current() const override;
  void Apply(const ParamBlock& block) override;
  void TogglePower() override;
};

}  // namespace lumra::editor
