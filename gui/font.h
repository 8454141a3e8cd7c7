#pragma once
// The font a surface's canvas carries. MaskText takes face, character set and style from it and
// chooses the size itself; the text back ends turn it into a platform font.

#include <string>

namespace lumra {

struct TFont {
  std::string Name = "Arial";  // UTF-8 face name
  int Charset = 0;             // Windows character set number (0 = ANSI)
  int Size = 8;                // points
  bool Bold = false;
  bool Italic = false;
  int Height = 0;              // character height in pixels, whatever the screen; 0: from Size
};

}  // namespace lumra
