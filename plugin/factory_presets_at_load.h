#pragma once
// The factory presets are installed when the editor window is created, once per load of the
// library. Until the editor exists, the load runs this at the place of the window's creation.

namespace lumra::plugin {

void InstallFactoryPresetsAtLoad();

}  // namespace lumra::plugin
