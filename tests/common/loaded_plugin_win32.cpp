#include <windows.h>

#include "plugin_api.h"

namespace lumra::testing {
namespace {

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function, std::string& error) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (function == nullptr && error.empty()) error = std::string("export missing: ") + name;
  return function != nullptr;
}

}  // namespace

LoadedPlugin::LoadedPlugin() {
  HMODULE module = LoadLibraryA("lreverb.zqp");
  if (module == nullptr) {
    error_ = "LoadLibrary(lreverb.zqp) failed with error " + std::to_string(GetLastError());
    return;
  }
  module_ = module;
  Resolve(module, "Show", api_.Show, error_);
  Resolve(module, "Hide", api_.Hide, error_);
  Resolve(module, "Start", api_.Start, error_);
  Resolve(module, "Stop", api_.Stop, error_);
  Resolve(module, "Clear", api_.Clear, error_);
  Resolve(module, "Destroy", api_.Destroy, error_);
  Resolve(module, "PostWave", api_.PostWave, error_);
  Resolve(module, "PostWaveData", api_.PostWaveData, error_);
  Resolve(module, "GetPlugName", api_.GetPlugName, error_);
  Resolve(module, "GetPlugVersion", api_.GetPlugVersion, error_);
  Resolve(module, "GetActivePlug", api_.GetActivePlug, error_);
  Resolve(module, "GetPlugChanged", api_.GetPlugChanged, error_);
  Resolve(module, "SetData", api_.SetData, error_);
  Resolve(module, "GetData", api_.GetData, error_);
  Resolve(module, "SetText", api_.SetText, error_);
}

LoadedPlugin::~LoadedPlugin() {
  if (module_ == nullptr) return;
  if (api_.Destroy != nullptr) api_.Destroy();
  FreeLibrary(static_cast<HMODULE>(module_));
}

}  // namespace lumra::testing
