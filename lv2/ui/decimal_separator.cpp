#include "lv2/ui/decimal_separator.h"

#include <locale>
#include <stdexcept>

namespace lumra::lv2ui {

// The same rule as `lreverb face`, so the UI shows the texts the picture does.
char UserDecimalSeparator() {
  try {
    const char point = std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    const auto byte = static_cast<unsigned char>(point);
    return byte > 0x20 && byte < 0x7F ? point : '.';
  } catch (const std::runtime_error&) {
    return '.';
  }
}

}  // namespace lumra::lv2ui
