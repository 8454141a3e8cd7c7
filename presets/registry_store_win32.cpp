// The settings store in the per-user registry: the product key
// HKEY_CURRENT_USER\Software\Quorel\<product>, one subkey per section, REG_SZ values.
// Text is UTF-8 on this side and UTF-16 in the registry, so any name typed in the dialog is
// stored as typed.

#include <windows.h>

#include <string>
#include <utility>

#include "presets/user_store.h"
#include "common/utf16_win32.h"

namespace lumra {
namespace {

[[noreturn]] void ThrowRegistryError(std::string_view what, std::string_view name, LSTATUS status) {
  wchar_t* message = nullptr;
  ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&message),
                   0, nullptr);
  std::string reason = message != nullptr ? Narrow(message) : "error " + std::to_string(status);
  if (message != nullptr) ::LocalFree(message);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
    reason.pop_back();
  throw StoreError(std::string(what) + " \"" + std::string(name) + "\" in the registry: " + reason);
}

class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(HKEY key) : key_(key) {}
  RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegistryKey& operator=(RegistryKey&&) = delete;
  ~RegistryKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  HKEY Get() const { return key_; }
  HKEY* Out() { return &key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

class RegistryStore : public SettingsStore {
 public:
  explicit RegistryStore(RegistryKey productKey) : productKey_(std::move(productKey)) {}

  std::string ReadString(std::string_view section, std::string_view name,
                         std::string_view fallback) override {
    const RegistryKey key = OpenSection(section, KEY_QUERY_VALUE);
    if (!key) return std::string(fallback);
    const std::wstring wideName = Widen(name);
    for (;;) {
      DWORD type = 0;
      DWORD bytes = 0;
      LSTATUS status = ::RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, nullptr, &bytes);
      if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string(fallback);
      std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
      DWORD capacity = static_cast<DWORD>(value.size() * sizeof(wchar_t));
      status = ::RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(value.data()), &capacity);
      if (status == ERROR_MORE_DATA) continue;  // grew in between
      if (status != ERROR_SUCCESS) return std::string(fallback);
      value.resize(capacity / sizeof(wchar_t));
      value.resize(std::wstring_view(value.c_str()).size());
      return Narrow(value);
    }
  }

  void WriteString(std::string_view section, std::string_view name,
                   std::string_view value) override {
    RegistryKey key;
    LSTATUS status = ::RegCreateKeyExW(productKey_.Get(), Widen(section).c_str(), 0, nullptr, 0,
                                       KEY_SET_VALUE, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS) ThrowRegistryError("cannot create the section", section, status);
    const std::wstring wideValue = Widen(value);
    status = ::RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(wideValue.c_str()),
                              static_cast<DWORD>((wideValue.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) ThrowRegistryError("cannot write the value", name, status);
  }

  std::vector<std::string> ValueNames(std::string_view section) override {
    std::vector<std::string> names;
    const RegistryKey key = OpenSection(section, KEY_QUERY_VALUE);
    if (!key) return names;
    DWORD longest = 0;
    LSTATUS status = ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, &longest, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) ThrowRegistryError("cannot list the section", section, status);
    std::wstring name(longest + 1, L'\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(name.size());
      status = ::RegEnumValueW(key.Get(), index, name.data(), &length, nullptr, nullptr, nullptr,
                               nullptr);
      if (status == ERROR_NO_MORE_ITEMS) break;
      if (status != ERROR_SUCCESS) ThrowRegistryError("cannot list the section", section, status);
      names.push_back(Narrow({name.data(), length}));
    }
    return names;
  }

  void DeleteValue(std::string_view section, std::string_view name) override {
    const RegistryKey key = OpenSection(section, KEY_SET_VALUE);
    if (!key) return;
    const LSTATUS status = ::RegDeleteValueW(key.Get(), Widen(name).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
      ThrowRegistryError("cannot delete the value", name, status);
  }

 private:
  // An empty key when the section does not exist.
  RegistryKey OpenSection(std::string_view section, REGSAM access) const {
    RegistryKey key;
    const LSTATUS status =
        ::RegOpenKeyExW(productKey_.Get(), Widen(section).c_str(), 0, access, key.Out());
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS) ThrowRegistryError("cannot open the section", section, status);
    return key;
  }

  RegistryKey productKey_;
};

}  // namespace

std::unique_ptr<SettingsStore> OpenUserStore(std::string_view product) {
  const std::string path = "Software\\Quorel\\" + std::string(product);
  RegistryKey key;
  const LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, key.Out(), nullptr);
  if (status != ERROR_SUCCESS) ThrowRegistryError("cannot open the key", path, status);
  return std::make_unique<RegistryStore>(std::move(key));
}

}  // namespace lumra
