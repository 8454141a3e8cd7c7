#pragma once
// The 14 presets every user starts with, written once per user by InstallFactoryPresets.

#include <array>
#include <optional>
#include <string_view>

#include "plugin/param_block.h"

namespace lumra {

struct FactoryPreset {
  std::string_view Name;
  std::string_view Text;  // the stored form of the block (block_codec.h), Power on
};

inline constexpr std::size_t FactoryPresetCount = 14;

// Columns: name as listed to the user, stored text. Installed in this order.
extern const std::array<FactoryPreset, FactoryPresetCount> FactoryPresets;

// The preset's block, decoded from its text; throws std::logic_error if the text is not one.
ParamBlock FactoryBlock(const FactoryPreset& preset);

// The block of the factory preset of that name, as listed (case matters); none if there is none.
std::optional<ParamBlock> FindFactoryBlock(std::string_view name);

}  // namespace lumra
