#include <windows.h>

#include "presets/user_store.h"
#include "store_fixtures.h"

namespace lumra::test {
namespace {
constexpr const wchar_t* TestKey = L"Software\\Quorel\\Lumra Store Test";
}

std::unique_ptr<SettingsStore> UserStoreMaker::Make() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, TestKey);
  return OpenUserStore("Lumra Store Test");
}

UserStoreMaker::~UserStoreMaker() { ::RegDeleteTreeW(HKEY_CURRENT_USER, TestKey); }

}  // namespace lumra::test
