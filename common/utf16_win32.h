#pragma once
// The portable code keeps text as UTF-8; Windows' wide-character functions take UTF-16.

#include <string>
#include <string_view>

namespace lumra {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace lumra
