#include "plugin/factory_presets_at_load.h"

#include "presets/install_factory_presets.h"

namespace lumra::plugin {

void InstallFactoryPresetsAtLoad() { InstallFactoryPresets(); }

}  // namespace lumra::plugin
