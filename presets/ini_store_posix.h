#pragma once
// The settings store as an INI file (ini_format.h), safe to share between processes: every
// change rereads the file under an advisory lock held on a lock file beside it, and replaces it
// atomically through a temporary file and a rename, so concurrent writers lose nothing and a
// reader sees the old file or the new one, never half of one. A file that cannot be parsed is
// reported (StoreError) and left exactly as it is.

#include <filesystem>
#include <functional>
#include <string_view>

#include "presets/section_table.h"
#include "presets/settings_store.h"

namespace lumra {

class IniFileStore : public SettingsStore {
 public:
  explicit IniFileStore(std::filesystem::path path);

  std::string ReadString(std::string_view section, std::string_view name,
                         std::string_view fallback = {}) override;
  void WriteString(std::string_view section, std::string_view name,
                   std::string_view value) override;
  std::vector<std::string> ValueNames(std::string_view section) override;
  void DeleteValue(std::string_view section, std::string_view name) override;

  const std::filesystem::path& Path() const { return path_; }

 private:
  SectionTable Load() const;
  // Runs change on the current content under the lock; writes the file when it returns true.
  void Modify(const std::function<bool(SectionTable&)>& change);
  void Save(const SectionTable& table) const;

  std::filesystem::path path_;
};

// $XDG_CONFIG_HOME/Quorel/<product>.ini, with ~/.config when XDG_CONFIG_HOME is unset or not
// an absolute path.
std::filesystem::path UserIniPath(std::string_view product);

}  // namespace lumra
