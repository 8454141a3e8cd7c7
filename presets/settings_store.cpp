#include "presets/settings_store.h"

#include <charconv>

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
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

}  // namespace lumra
