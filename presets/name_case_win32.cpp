#include "presets/name_case.h"

#include <windows.h>

#include "common/utf16_win32.h"

namespace lumra {

std::string FoldNameCase(std::string_view name) {
  std::wstring wide = Widen(name);
  if (!wide.empty()) ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return Narrow(wide);
}

}  // namespace lumra
