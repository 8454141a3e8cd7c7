#pragma once
// What hosts call the knobs and panels, all derived from the editor's control table, and the
// URIs of the factory presets.

#include <string>
#include <string_view>

namespace lumra::lv2 {

// "Reverb Rev. Time": the knob's panel and label.
std::string KnobPortName(int element);
// "reverb_rev_time": the name as an LV2 symbol (lower-case letters, digits and underscores).
std::string KnobPortSymbol(int element);
// The symbol of panel g (0..5): its title's, numbered from the second panel of the same title on
// ("diffuse", "diffuse_2").
std::string PanelSymbol(int group);
// "urn:quorel:lumra-reverb:preset:06-hall-l" for "06_Hall L".
std::string PresetUri(std::string_view name);

}  // namespace lumra::lv2
