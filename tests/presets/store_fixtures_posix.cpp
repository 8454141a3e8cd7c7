#include <optional>

#include "presets/user_store.h"
#include "store_fixtures.h"
#include "temp_config_dir.h"

namespace lumra::test {
namespace {
std::optional<TempConfigDir> configDir;
}

std::unique_ptr<SettingsStore> UserStoreMaker::Make() {
  configDir.emplace();
  return OpenUserStore("Lumra Store Test");
}

UserStoreMaker::~UserStoreMaker() { configDir.reset(); }

}  // namespace lumra::test
