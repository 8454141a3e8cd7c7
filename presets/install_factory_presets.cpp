#include "presets/install_factory_presets.h"

#include "presets/factory_presets.h"
#include "presets/user_store.h"

namespace lumra {

bool InstallFactoryPresets(SettingsStore& store) {
  if (store.ReadInteger(FlagSection, FlagValue, 0) != 0) return false;
  for (const FactoryPreset& preset : FactoryPresets)
    store.WriteString(PresetSection, preset.Name, preset.Text);
  store.WriteBool(FlagSection, FlagValue, true);
  return true;
}

void InstallFactoryPresets() {
  try {
    InstallFactoryPresets(*OpenUserStore(ProductName));
  } catch (const std::exception&) {
  }
}

}  // namespace lumra
