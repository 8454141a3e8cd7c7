#pragma once
// `lreverb presets ...`: lists, shows, stores, deletes and exports the current user's presets,
// and resolves the name given to `lreverb render --preset NAME`. The first use of the store
// installs the factory presets; a store that cannot be written is still read, with them.

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "plugin/param_block.h"
#include "presets/settings_store.h"

namespace lumra {

// args holds the words after "presets". Returns the exit status: 0, 1 for a failure, 2 for a
// command line that cannot be understood. Errors are one line on err.
int RunPresetsCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

struct PresetLookup {
  std::optional<ParamBlock> Block;
  std::string Error;  // one line when Block is empty, naming the closest stored names
};

// Blanks around name are dropped; the stored name is matched without regard to case.
PresetLookup FindPreset(std::string_view name);
PresetLookup FindPreset(SettingsStore& store, std::string_view name);

}  // namespace lumra
