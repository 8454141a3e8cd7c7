#include "presets/ini_format.h"

#include <charconv>

namespace lumra {
namespace {

bool NeedsEscape(unsigned char c) {
  return c < 0x20 || c > 0x7E || c == '=' || c == '[' || c == ']' || c == ';' || c == '#' ||
         c == '\\';
}

std::string_view TrimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string EscapeIniText(std::string_view text) {
  constexpr std::string_view digits = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool edgeSpace = c == ' ' && (i == 0 || i + 1 == text.size());
    if (NeedsEscape(c) || edgeSpace) {
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 0x0F];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::optional<std::string> UnescapeIniText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (i + 3 >= text.size() || text[i + 1] != 'x') return std::nullopt;
    unsigned value = 0;
    const char* begin = text.data() + i + 2;
    const auto [ptr, ec] = std::from_chars(begin, begin + 2, value, 16);
    if (ec != std::errc{} || ptr != begin + 2) return std::nullopt;
    out += static_cast<char>(value);
    i += 3;
  }
  return out;
}

IniParseResult ParseIni(std::string_view text) {
  IniParseResult result;
  std::optional<std::string> section;
  std::size_t lineNumber = 0;
  auto fail = [&](std::string_view what) {
    result.Error = "line " + std::to_string(lineNumber) + " " + std::string(what);
    result.Table = {};
    return result;
  };

  while (!text.empty()) {
    ++lineNumber;
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;

    if (line.front() == '[') {
      if (line.back() != ']') return fail("opens a section name but does not close it with ']'");
      section = UnescapeIniText(TrimBlanks(line.substr(1, line.size() - 2)));
      if (!section) return fail("has a section name with a bad \\x escape");
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
      return fail("is neither a [section] line nor a name=value line");
    if (!section) return fail("holds a value before the first [section] line");
    const auto name = UnescapeIniText(TrimBlanks(line.substr(0, equals)));
    const auto value = UnescapeIniText(TrimBlanks(line.substr(equals + 1)));
    if (!name || !value) return fail("has a bad \\x escape");
    if (name->empty()) return fail("has a value without a name");
    result.Table.Set(*section, *name, *value);
  }
  return result;
}

std::string FormatIni(const SectionTable& table) {
  std::string text;
  for (const Section& section : table.Sections()) {
    if (!text.empty()) text += '\n';
    text += '[' + EscapeIniText(section.Name) + "]\n";
    for (const NamedValue& v : section.Values)
      text += EscapeIniText(v.Name) + '=' + EscapeIniText(v.Value) + '\n';
  }
  return text;
}

}  // namespace lumra
