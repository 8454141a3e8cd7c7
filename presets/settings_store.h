#pragma once
// The per-user settings store of the presets: sections of named string values under one
// product key. Windows keeps it in the registry, Linux in an INI file; tests use MemoryStore.
//
// Value names are kept as typed and matched without regard to case (name_case.h), as the
// registry does, so a name stored twice in different case is one preset on every platform.
// A store that cannot be read or written throws StoreError; nothing is written after a failed
// read, so a damaged store is never replaced by a partial one.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lumra {

inline constexpr std::string_view ProductName = "Quorel Lumra Reverb";
inline constexpr std::string_view PresetSection = "Quorel Lumra Reverb";
inline constexpr std::string_view FlagSection = "Preset";
inline constexpr std::string_view FlagValue = "Exists";

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // A missing section or value reads as fallback.
  virtual std::string ReadString(std::string_view section, std::string_view name,
                                 std::string_view fallback = {}) = 0;
  // Creates the section if missing and replaces a value of the same name.
  virtual void WriteString(std::string_view section, std::string_view name,
                           std::string_view value) = 0;
  // The names of all values of the section, empty for a missing section.
  virtual std::vector<std::string> ValueNames(std::string_view section) = 0;
  // Deleting a missing value is not an error.
  virtual void DeleteValue(std::string_view section, std::string_view name) = 0;

  // The text parsed as a decimal integer (surrounding blanks allowed); fallback when the value
  // is missing or not a number.
  std::int32_t ReadInteger(std::string_view section, std::string_view name, std::int32_t fallback);
  void WriteBool(std::string_view section, std::string_view name, bool value);
};

bool SameValueName(std::string_view a, std::string_view b);
// The order in which names are listed to the user: without regard to case.
void SortAsListed(std::vector<std::string>& names);

}  // namespace lumra
