// Text through the FreeType back end: each text is drawn on a scratch copy of the pixels under
// its box, which is then put back.

#include <algorithm>

#include "gui/canvas.h"
#include "gui/textraster.h"
#include "gui/textwriter.h"

namespace lumra {

struct TTextWriter::Platform {
  TFont font;
};

namespace {

// Stands in for a face the system lacks; Liberation Sans comes with the project's dependencies.
constexpr std::string_view kUserInterfaceFace = "Arial";

TFont Available(const TFont& font) {
  TFDIB probe(1, 1);
  try {
    RenderText(probe, font, "A", 0xFFFFFF);
    return font;
  } catch (const FontNotFound&) {
    TFont fallback = font;
    fallback.Name = kUserInterfaceFace;
    fallback.Charset = 0;
    return fallback;
  }
}

}  // namespace

TTextWriter::TTextWriter(const TFont& font) : platform_(std::make_unique<Platform>(Available(font))) {}

TTextWriter::~TTextWriter() = default;

const TFont& TTextWriter::Font() const { return platform_->font; }

void TTextWriter::Write(TFDIB& target, std::int32_t x, std::int32_t y, std::string_view utf8, TColor color) {
  const std::int32_t height = FontPixelHeight(platform_->font);
  // Generous for any glyph: two character heights per character and a cell of twice the height.
  const std::int32_t width = std::min<std::int64_t>(2 * std::int64_t{height} * CountCharacters(utf8), target.Width());
  if (width <= 0 || height <= 0) return;
  TFDIB box(width, 2 * height);
  CopyRect(box, 0, 0, target, {x, y, x + width, y + 2 * height}, CopyMode::SourceCopy);
  RenderText(box, platform_->font, utf8, color);
  CopyRect(target, x, y, box, {0, 0, width, 2 * height}, CopyMode::SourceCopy);
}

}  // namespace lumra
