#include "lv2/ttl/port_names.h"

#include "editor/control_table.h"
#include "lv2/ports.h"

namespace lumra::lv2 {
namespace {

// Lower-case letters and digits, every other run of characters as one separator, none at
// either end.
std::string Slug(std::string_view text, char separator) {
  std::string slug;
  bool pending = false;
  for (const char ch : text) {
    const bool alnum =
        (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
    if (!alnum) {
      pending = !slug.empty();
      continue;
    }
    if (pending) slug += separator;
    pending = false;
    slug += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  }
  return slug;
}

}  // namespace

std::string KnobPortName(int element) {
  return std::string(editor::KnobPanel(element)) + " " + std::string(editor::Knobs[element].Label);
}

std::string KnobPortSymbol(int element) { return Slug(KnobPortName(element), '_'); }

std::string PanelSymbol(int group) {
  const std::string title = Slug(editor::KnobGroups[group].Title.Text, '_');
  int same = 1;
  for (int earlier = 0; earlier < group; ++earlier)
    if (Slug(editor::KnobGroups[earlier].Title.Text, '_') == title) ++same;
  return same == 1 ? title : title + "_" + std::to_string(same);
}

std::string PresetUri(std::string_view name) {
  return std::string(StereoUri) + ":preset:" + Slug(name, '-');
}

}  // namespace lumra::lv2
