#include <cmath>
#include <cstdint>

#include "gui/pixelmath.h"
#include "gui/textraster.h"

namespace lumra {

std::int32_t PointsToPixels(std::int32_t points) {
  return RoundToCoordinate(static_cast<double>(points) * ScreenPixelsPerInch() / 72);
}

std::int32_t FontPixelHeight(const TFont& font) {
  return font.Height > 0 ? font.Height : PointsToPixels(font.Size);
}

std::int32_t CountCharacters(std::string_view utf8) {
  std::int32_t n = 0;
  for (const char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) ++n;
  return n;
}

}  // namespace lumra
