#include "plugin/factory_presets_at_load.h"

namespace lumra::plugin {

// The Linux tools load no editor; they install the presets on their first use of the store.
void InstallFactoryPresetsAtLoad() {}

}  // namespace lumra::plugin
