#pragma once
// Preset names match without regard to case in all of Unicode, as the Windows registry matches
// its value names. Names are UTF-8; bytes that are not valid UTF-8 stand for themselves and match
// only themselves (ASCII letters aside).

#include <string>
#include <string_view>

namespace lumra {

// The name with every character mapped to one case-independent form: on Windows the system's
// upper case (the registry's own comparison), elsewhere the C.UTF-8 locale's upper case of its
// lower case (one character to one, so "ß" stays "ß" rather than becoming "SS").
std::string FoldNameCase(std::string_view name);

}  // namespace lumra
