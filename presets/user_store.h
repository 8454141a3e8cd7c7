#pragma once
// The current user's own settings store for a product: on Windows the registry key
// HKEY_CURRENT_USER\Software\Quorel\<product>, on Linux the INI file
// $XDG_CONFIG_HOME/Quorel/<product>.ini (~/.config when unset).

#include <memory>
#include <string_view>

#include "presets/settings_store.h"

namespace lumra {

// Opens the store, creating the key or the folder when missing. Throws StoreError when that
// fails.
std::unique_ptr<SettingsStore> OpenUserStore(std::string_view product);

}  // namespace lumra
