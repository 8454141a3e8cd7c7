#include "editor/decimal_separator.h"

#include <windows.h>

namespace lumra::editor {

char UserDecimalSeparator() {
  char separator[8] = {};
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) > 1
             ? separator[0]
             : '.';
}

}  // namespace lumra::editor
