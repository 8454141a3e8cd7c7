#pragma once
// Platform text output, the one part of text drawing that is not portable: GDI on Windows,
// FreeType with fontconfig elsewhere. Glyph shapes differ between the two; placement does not.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "gui/fdib.h"
#include "gui/font.h"

namespace lumra {

// A face that neither the font configuration nor the known install paths provide.
class FontNotFound : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Pixels per inch of the screen, vertically (96 where there is no screen to ask).
std::int32_t ScreenPixelsPerInch();

// The character height in pixels (without internal leading) of a font of `points` points.
std::int32_t PointsToPixels(std::int32_t points);

// The character height in pixels of font: its Height, or its Size in points on this screen.
std::int32_t FontPixelHeight(const TFont& font);

// Number of characters (code points) of UTF-8 text.
std::int32_t CountCharacters(std::string_view utf8);

// Writes UTF-8 text in `font` onto the colour bytes of target, anti-aliased as the platform
// draws it, with no background and the top-left corner of the text cell at (0, 0). Alpha is
// kept; whatever falls off the surface is cut off. Throws FontNotFound where fonts are looked up
// by name and the face is missing.
void RenderText(TFDIB& target, const TFont& font, std::string_view utf8, TColor color);

}  // namespace lumra
