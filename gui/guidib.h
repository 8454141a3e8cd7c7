#pragma once
// Mask and fill operations. A piece of the face is drawn in two steps: mask operations add
// coverage to alpha and leave colour alone, fill operations set colour and leave alpha alone.
//
// Shape coordinates are pixel units with pixel (x, y) sampled at the integer point (x, y);
// angles are radians with y downward, so a growing angle turns clockwise. Shapes visit only the
// pixels of their box clipped to the surface, so any geometry is safe.

#include <cstdint>
#include <string_view>

#include "gui/fdib.h"

namespace lumra {

// Normalises rect, inflates it by margin and returns its union with bounds.
TRect GrowBounds(const TRect& bounds, const TRect& rect, std::int32_t margin);
// Normalises clip and returns its intersection with rect (not normalised: empty stays empty).
TRect ClipRect(const TRect& rect, const TRect& clip);

class TGUIDIB : public TFDIB {
 public:
  using TFDIB::TFDIB;

  // Sets the size and clears every pixel.
  void SetSize(std::int32_t width, std::int32_t height) { Resize(width, height); }

  // Coverage of a disc whose rim ramps linearly from 255 at radius - feather to 0 at radius.
  // Coverage adds up and saturates, so overlapping shapes accumulate.
  void MaskCircle(float cx, float cy, float radius, float feather);
  // The disc of the whole surface: centre (Width / 2, Height / 2), radius (Width - 1) / 2.
  void MaskFullCircle(float feather);
  void MaskRect(const TRect& rect);
  void MaskAll();
  // A segment of the given width with round ends.
  void MaskLine(float x1, float y1, float x2, float y2, float width, float feather);
  // As MaskLine, the width going linearly from width1 at (x1, y1) to width2 at (x2, y2).
  void MaskTaperedLine(float x1, float y1, float x2, float y2, float width1, float width2, float feather);
  // Coverage of UTF-8 text in Font's face, style and character set, rendered oversample times
  // larger and box-filtered into the box (x, y)-(x + n * cellSize, y + 2 * cellSize), n being the
  // number of characters; spread widens the filter window by that many samples on every side.
  void MaskText(std::int32_t x, std::int32_t y, std::string_view text, std::int32_t cellSize,
                std::int32_t oversample, std::int32_t spread);

  void FillColor(TColor color);
  // Color1 up to the line through P1 perpendicular to P1P2, color2 from the one through P2.
  void FillGradient(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, TColor color1,
                    TColor color2);
  // As FillGradient with end colours drawn afresh for every pixel by NoiseColor from random
  // (second end first), rows from the top, pixels from the left.
  void FillNoisyGradient(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, TColor color1,
                         TColor color2, TColor noise1, TColor noise2, bool mono, RandomGenerator& random);
  void FillRadialGradient(TColor color1, TColor color2, float cx, float cy, float radius);
  // Opaque one-pixel border: top row and left column color1, bottom row and right column color2.
  void DrawFrame(TColor color1, TColor color2);
};

}  // namespace lumra
