#pragma once
// A 32-bit drawing surface with a coverage mask in the alpha byte, and the colour functions that
// the shapes and the editor build on.
//
// Pixels are 0xAARRGGBB words (memory order blue, green, red, alpha); colour channels are not
// premultiplied and alpha is coverage, 0 to 255. Colour arguments are 0xRRGGBB.

#include <cstdint>
#include <span>
#include <vector>

#include "common/random.h"
#include "gui/font.h"

namespace lumra {

using TPixel = std::uint32_t;
using TColor = std::uint32_t;

// Left and top inclusive, right and bottom exclusive.
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

class TFDIB {
 public:
  // A negative size counts as 0; a surface too large for memory throws std::bad_alloc.
  TFDIB(std::int32_t width, std::int32_t height);
  virtual ~TFDIB() = default;
  TFDIB(const TFDIB&) = default;
  TFDIB& operator=(const TFDIB&) = default;
  TFDIB(TFDIB&&) noexcept = default;
  TFDIB& operator=(TFDIB&&) noexcept = default;

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }

  // Row y (0 = top) from its first pixel, Width pixels long; empty for a y off the surface.
  std::span<TPixel> ScanLine(std::int32_t y);
  std::span<const TPixel> ScanLine(std::int32_t y) const;
  // All rows, top row first.
  std::span<const TPixel> Pixels() const { return pixels_; }

  void ClearPixels();

  // Composites this surface onto dest so that (OriginX, OriginY) lands on dest's (x, y),
  // clipped to dest.
  virtual void DrawTo(TFDIB& dest, std::int32_t x, std::int32_t y) const;

  // alpha = Trunc(alpha * factor), held to 0..255; colours unchanged.
  void ScaleAlpha(float factor);

  std::int32_t OriginX = 0;
  std::int32_t OriginY = 0;
  TFont Font;

 protected:
  // Sets the size and clears every pixel.
  void Resize(std::int32_t width, std::int32_t height);

 private:
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<TPixel> pixels_;
};

// Src over dest with weights a and 256 - a (a = src alpha), truncated; alpha is the larger one.
TPixel BlendPixel(TPixel dest, TPixel src);
// (1 - t) * color1 + t * color2 per channel, truncated; t is held to 0..1 (NaN counts as 0).
// The top byte comes from color1.
TColor MixColor(TColor color1, TColor color2, float t);
// Each channel times factor, truncated and held to 0..255; the top byte is kept.
TColor ScaleColor(TColor color, float factor);
// base plus Random(amplitude channel) in red, green, blue (three draws of random, always). mono
// gives all three channels the mean of the draws. Channels saturate at 255.
TColor NoiseColor(TColor base, TColor amplitude, bool mono, RandomGenerator& random);

}  // namespace lumra
