#include <cstdint>

#include "common/random.h"
#include "gui/fdib.h"
#include "gui/pixelmath.h"

namespace lumra {
namespace {

std::uint32_t Channel(std::uint32_t c, int shift) { return (c >> shift) & 0xFFu; }

}  // namespace

TPixel BlendPixel(TPixel dest, TPixel src) {
  const std::uint32_t a = AlphaOf(src);
  const std::uint32_t alpha = a > AlphaOf(dest) ? a : AlphaOf(dest);
  TPixel out = alpha << 24;
  for (int shift : {16, 8, 0})
    out |= ((Channel(dest, shift) * (256 - a) + Channel(src, shift) * a) >> 8) << shift;
  return out;
}

TColor MixColor(TColor color1, TColor color2, float t) {
  double w = t;
  if (!(w >= 0)) w = 0;
  if (w > 1) w = 1;
  TColor out = color1 & kAlphaMask;
  for (int shift : {16, 8, 0})
    out |= TruncToByte((1 - w) * Channel(color1, shift) + w * Channel(color2, shift)) << shift;
  return out;
}

TColor ScaleColor(TColor color, float factor) {
  TColor out = color & kAlphaMask;
  for (int shift : {16, 8, 0}) out |= TruncToByte(Channel(color, shift) * static_cast<double>(factor)) << shift;
  return out;
}

TColor NoiseColor(TColor base, TColor amplitude, bool mono, RandomGenerator& random) {
  std::uint32_t r = random.Random(Channel(amplitude, 16));
  std::uint32_t g = random.Random(Channel(amplitude, 8));
  std::uint32_t b = random.Random(Channel(amplitude, 0));
  if (mono) r = g = b = (r + g + b) / 3;
  TColor out = base & kAlphaMask;
  const std::uint32_t grain[] = {r, g, b};
  int i = 0;
  for (int shift : {16, 8, 0}) {
    const std::uint32_t sum = Channel(base, shift) + grain[i++];
    out |= (sum > 255 ? 255 : sum) << shift;
  }
  return out;
}

}  // namespace lumra
