#include "editor/plugin_controls.h"

#include "plugin/instance.h"

namespace lumra::editor {

ParamBlock PluginControls::Current() const {
  const plugin::Instance& in = plugin::TheInstance();
  ParamBlock block = in.Params;
  block.Power = in.Power();
  return block;
}

void PluginControls::Apply(const ParamBlock& block) { plugin::ApplyParameters(&block); }

void PluginControls::TogglePower() { plugin::TogglePower(); }

}  // namespace lumra::editor
