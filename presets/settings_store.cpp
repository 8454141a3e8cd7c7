#include "presets/settings_store.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "presets/name_case.h"

namespace lumra {

std::int32_t SettingsStore::ReadInteger(std::string_view section, std::string_view name,
                                        std::int32_t fallback) {
  const std::string text = ReadString(section, name);
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return fallback;
  const auto last = text.find_last_not_of(" \t");
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  if (*begin == '+') ++begin;  // from_chars takes '-' but not '+'
  std::int32_t value = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  return (ec == std::errc{} && ptr == end) ? value : fallback;
}

void SettingsStore::WriteBool(std::string_view section, std::string_view name, bool value) {
  WriteString(section, name, value ? "1" : "0");
}

bool SameValueName(std::string_view a, std::string_view b) {
  return a == b || FoldNameCase(a) == FoldNameCase(b);
}

void SortAsListed(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return std::pair(FoldNameCase(a), a) < std::pair(FoldNameCase(b), b);
  });
}

}  // namespace lumra
