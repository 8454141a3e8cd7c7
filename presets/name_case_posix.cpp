#include "presets/name_case.h"

#include <clocale>
#include <cwctype>
#include <locale.h>
#include <wctype.h>

#include "presets/utf8.h"

namespace lumra {
namespace {

// A fixed locale rather than the user's: names must match the same way for everyone. glibc
// ships C.UTF-8 with every installation; without it only ASCII letters fold.
locale_t CaseLocale() {
  static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return locale;
}

char32_t FoldCharacter(char32_t c) {
  const locale_t locale = CaseLocale();
  if (locale == nullptr) return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
  // Upper case, as the registry compares, through lower case first so that the forms with two
  // lower-case partners (sigma and final sigma, s and long s) meet.
  const auto wide = static_cast<wint_t>(c);
  return static_cast<char32_t>(::towupper_l(::towlower_l(wide, locale), locale));
}

}  // namespace

std::string FoldNameCase(std::string_view name) {
  std::string folded;
  folded.reserve(name.size());
  for (std::size_t at = 0; at < name.size();) {
    char32_t c = 0;
    const std::size_t length = DecodeUtf8(name, at, c);
    if (length == 0) {
      folded += name[at++];
      continue;
    }
    AppendUtf8(FoldCharacter(c), folded);
    at += length;
  }
  return folded;
}

}  // namespace lumra
