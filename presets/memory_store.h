#pragma once
// A settings store that lives only as long as the object: for tests and for callers that must
// run without touching the user's own presets.

#include "presets/section_table.h"
#include "presets/settings_store.h"

namespace lumra {

class MemoryStore : public SettingsStore {
 public:
  std::string ReadString(std::string_view section, std::string_view name,
                         std::string_view fallback = {}) override;
  void WriteString(std::string_view section, std::string_view name,
                   std::string_view value) override;
  std::vector<std::string> ValueNames(std::string_view section) override;
  void DeleteValue(std::string_view section, std::string_view name) override;

 private:
  SectionTable table_;
};

}  // namespace lumra
