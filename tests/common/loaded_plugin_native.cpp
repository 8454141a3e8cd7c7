#include "plugin_api.h"

namespace lumra::testing {

LoadedPlugin::LoadedPlugin() {
  namespace p = lumra::plugin;
  api_ = {&p::Show,        &p::Hide,           &p::Start,         &p::Stop,
          &p::Clear,       &p::Destroy,        &p::PostWave,      &p::PostWaveData,
          &p::GetPlugName, &p::GetPlugVersion, &p::GetActivePlug, &p::GetPlugChanged,
          &p::SetData,     &p::GetData,        &p::SetText};
  p::LoadLibraryInstance();
}

LoadedPlugin::~LoadedPlugin() { api_.Destroy(); }

}  // namespace lumra::testing
