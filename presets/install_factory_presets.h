#pragma once
// Gives every user the factory presets once: they are written unless the flag "Exists" in the
// section "Preset" holds a number other than 0, and the flag is set afterwards. Presets the
// user deleted stay deleted; clearing the flag writes all of them again, replacing user presets
// of the same names.

#include "presets/settings_store.h"

namespace lumra {

// True when the presets were written. StoreError passes through.
bool InstallFactoryPresets(SettingsStore& store);

// The same on the current user's own store. Runs while the plug-in loads, where there is no one
// to tell, so a store that cannot be opened or written is left for the next load.
void InstallFactoryPresets();

}  // namespace lumra
