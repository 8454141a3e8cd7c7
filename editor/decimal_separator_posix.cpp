#include "editor/decimal_separator.h"

#include <locale>
#include <stdexcept>

namespace lumra::editor {

char UserDecimalSeparator() {
  try {
    const char point = std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    // A separator outside ASCII would be one byte of a multi-byte character: no valid text.
    const auto byte = static_cast<unsigned char>(point);
    return byte > 0x20 && byte < 0x7F ? point : '.';
  } catch (const std::runtime_error&) {
    return '.';
  }
}

}  // namespace lumra::editor
