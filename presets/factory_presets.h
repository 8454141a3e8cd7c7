#pragma once
// The 14 presets every user starts with, written once per user by InstallFactoryPresets.

#include <array>
#include <string_view>

namespace lumra {

struct FactoryPreset {
  std::string_view Name;
  std::string_view Text;  // the stored form of the block (block_codec.h), Power on
};

inline constexpr std::size_t FactoryPresetCount = 14;

// Columns: name as listed to the user, stored text. Installed in this order.
extern const std::array<FactoryPreset, FactoryPresetCount> FactoryPresets;

}  // namespace lumra
