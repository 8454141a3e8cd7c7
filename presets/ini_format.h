#pragma once
// The text of the INI file that holds the presets on Linux:
//
//   [section]
//   name=value
//
// Any byte sequence is a valid section name, value name or value: bytes the syntax cannot hold
// as they are (control characters and line breaks, '=', '[', ']', ';', '#', the backslash,
// bytes above 0x7E, leading and trailing spaces) are written as \xHH. Lines starting with ';'
// or '#' are comments; blanks around names and values are not part of them.

#include <optional>
#include <string>
#include <string_view>

#include "presets/section_table.h"

namespace lumra {

std::string EscapeIniText(std::string_view text);
// nullopt for a backslash that does not start a \xHH escape.
std::optional<std::string> UnescapeIniText(std::string_view text);

struct IniParseResult {
  SectionTable Table;
  std::string Error;  // empty when the text parsed; otherwise what is wrong and on which line
};

IniParseResult ParseIni(std::string_view text);
std::string FormatIni(const SectionTable& table);

}  // namespace lumra
