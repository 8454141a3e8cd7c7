#pragma once
// The Turtle files of the bundle, written from the control table and the factory presets.

#include <string>

namespace lumra::lv2 {

std::string ManifestTtl();
std::string PluginTtl();
std::string PresetsTtl();

}  // namespace lumra::lv2
