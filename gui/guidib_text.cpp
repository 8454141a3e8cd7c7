// Oversampled text coverage: the platform draws the text s times larger in white on a scratch
// surface, and each target pixel sums the blue bytes of its s x s cell widened by b samples on
// every side. The sum is divided by (s + b)^2, not by the (s + 2b)^2 samples of the window, so
// letters come out slightly bolder and softer than a plain box filter would make them.

#include <algorithm>
#include <cstdint>

#include "gui/guidib.h"
#include "gui/pixelmath.h"
#include "gui/textcoverage.h"
#include "gui/textraster.h"

namespace lumra {

void AddTextCoverage(TFDIB& target, const TFDIB& scratch, const TRect& box, std::int32_t x, std::int32_t y,
                     std::int32_t s, std::int32_t b) {
  const TRect clipped = ClipRect(box, {0, 0, target.Width(), target.Height()});
  const double norm = (static_cast<double>(s) + b) * (static_cast<double>(s) + b);
  const std::int64_t span = std::int64_t{s} + 2 * std::int64_t{b};
  for (std::int32_t ty = clipped.Top; ty < clipped.Bottom; ++ty) {
    const auto row = target.ScanLine(ty);
    // Window positions off the scratch surface count as 0, so the window is clipped to it.
    const std::int64_t rowFirst = (ty - std::int64_t{y}) * s - b;
    const std::int64_t rowEnd = std::min<std::int64_t>(rowFirst + span, scratch.Height());
    for (std::int32_t tx = clipped.Left; tx < clipped.Right; ++tx) {
      const std::int64_t colFirst = (tx - std::int64_t{x}) * s - b;
      const std::int64_t colEnd = std::min<std::int64_t>(colFirst + span, scratch.Width());
      double sum = 0;
      for (std::int64_t sy = std::max<std::int64_t>(rowFirst, 0); sy < rowEnd; ++sy) {
        const auto samples = scratch.ScanLine(static_cast<std::int32_t>(sy));
        for (std::int64_t sx = std::max<std::int64_t>(colFirst, 0); sx < colEnd; ++sx)
          sum += (samples[static_cast<std::size_t>(sx)] & 0xFFu) / 255.0;
      }
      AddCoverage(row[tx], sum / norm * 255);
    }
  }
}

void TGUIDIB::MaskText(std::int32_t x, std::int32_t y, std::string_view text, std::int32_t cellSize,
                       std::int32_t oversample, std::int32_t spread) {
  const std::int64_t n = CountCharacters(text), cell = cellSize, s = oversample;
  TGUIDIB scratch(SaturateInt32(n * cell * s), SaturateInt32(2 * cell * s));
  if (scratch.Width() > 0 && scratch.Height() > 0) {
    TFont font = Font;
    font.Size = SaturateInt32(cell * s);
    RenderText(scratch, font, text, 0xFFFFFF);
  }
  AddTextCoverage(*this, scratch, {x, y, SaturateInt32(x + n * cell), SaturateInt32(y + 2 * cell)}, x, y, oversample,
                  spread);
}

}  // namespace lumra
