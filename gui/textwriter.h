#pragma once
// Short texts in one font at given places, as a window's canvas writes them: the platform's own
// anti-aliased glyphs (GDI on Windows, FreeType elsewhere) over the pixels already there, with no
// background box. The platform font stays open for the writer's life, so a paint that writes
// dozens of texts does not look the font up again for each.

#include <cstdint>
#include <memory>
#include <string_view>

#include "gui/fdib.h"
#include "gui/font.h"

namespace lumra {

class TTextWriter {
 public:
  // A face the system lacks is replaced by the system's user-interface font, same height.
  explicit TTextWriter(const TFont& font);
  ~TTextWriter();
  TTextWriter(const TTextWriter&) = delete;
  TTextWriter& operator=(const TTextWriter&) = delete;

  // The face actually used.
  const TFont& Font() const;

  // Writes UTF-8 text with the top-left corner of its cell at (x, y), in color; alpha is kept,
  // whatever falls off the surface is cut off.
  void Write(TFDIB& target, std::int32_t x, std::int32_t y, std::string_view utf8, TColor color);

 private:
  struct Platform;
  std::unique_ptr<Platform> platform_;
};

}  // namespace lumra
