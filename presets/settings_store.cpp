#include "presets/settings_store.h"

#include <algorithm>
#include <charconv>
#include <utility>

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

std::string FoldAsciiCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return folded;
}

bool SameValueName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FoldAsciiCase(a) == FoldAsciiCase(b);
}

void SortAsListed(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return std::pair(FoldAsciiCase(a), a) < std::pair(FoldAsciiCase(b), b);
  });
}

}  // namespace lumra
