#pragma once
// The names a person may give a preset on the command line: blanks around them are not part of
// them; an empty name, control characters (tab, line breaks) and text that is not UTF-8 are
// refused. Names match without regard to case (presets/name_case.h).

#include <string>
#include <string_view>

namespace lumra {

// The name without blanks around it. Throws UsageError saying what is wrong with it.
std::string CheckedPresetName(std::string_view name);

// The name without blanks around it, for looking a stored preset up.
std::string TrimmedPresetName(std::string_view name);

}  // namespace lumra
