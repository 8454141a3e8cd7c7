#include "tools/lreverb/preset_names.h"

#include "presets/utf8.h"
#include "tools/lreverb/command_line.h"

namespace lumra {
namespace {

constexpr std::string_view Blanks = " \t\r\n\v\f";

}  // namespace

std::string TrimmedPresetName(std::string_view name) {
  const std::size_t first = name.find_first_not_of(Blanks);
  if (first == std::string_view::npos) return {};
  return std::string(name.substr(first, name.find_last_not_of(Blanks) - first + 1));
}

std::string CheckedPresetName(std::string_view name) {
  const std::string trimmed = TrimmedPresetName(name);
  if (trimmed.empty()) throw UsageError("a preset needs a name that is not empty or only blanks");
  for (std::size_t at = 0; at < trimmed.size();) {
    char32_t c = 0;
    const std::size_t length = DecodeUtf8(trimmed, at, c);
    // The name itself is left out of these messages: it would break the line.
    if (length == 0) throw UsageError("a preset name must be UTF-8 text; byte " + std::to_string(at + 1) + " is not");
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
      throw UsageError("a preset name cannot hold control characters (tab, line breaks); byte " +
                       std::to_string(at + 1) + " is one");
    at += length;
  }
  return trimmed;
}

}  // namespace lumra
