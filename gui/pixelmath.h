#pragma once
// Conversions shared by the drawing operations. Every one is total: NaN, infinities and values
// beyond the int32 range give defined results, so bad geometry can never index out of a buffer.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/exact_math.h"
#include "gui/fdib.h"

namespace lumra {

inline constexpr std::uint32_t kAlphaMask = 0xFF000000u;

// A pixel coordinate: rounded half to even, saturated to +-2^30 so that adding a margin cannot
// overflow; NaN gives 0.
inline std::int32_t RoundToCoordinate(double v) {
  constexpr double kLimit = 1073741824.0;
  if (!(v == v)) return 0;
  if (v > kLimit) return static_cast<std::int32_t>(kLimit);
  if (v < -kLimit) return -static_cast<std::int32_t>(kLimit);
  return static_cast<std::int32_t>(RoundHalfEven(v));
}

inline std::int32_t SaturateInt32(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Trunc toward zero, held to 0..255; NaN gives 0.
inline std::uint32_t TruncToByte(double v) {
  if (!(v > 0)) return 0;
  if (v >= 255) return 255;
  return static_cast<std::uint32_t>(v);
}

// A gradient parameter held to 0..1 (NaN counts as 0) and stored as MixColor takes it. Clamping
// before the narrowing keeps the conversion defined and gives what MixColor's own clamp would.
inline float UnitParameter(double t) {
  if (!(t >= 0)) return 0;
  return t > 1 ? 1.0f : static_cast<float>(t);
}

inline std::uint32_t AlphaOf(TPixel p) { return p >> 24; }
inline TPixel WithAlpha(TPixel p, std::uint32_t alpha) { return (p & ~kAlphaMask) | (alpha << 24); }

// Adds coverage to a pixel's alpha, saturating at 255; a negative or NaN amount adds nothing.
inline void AddCoverage(TPixel& p, double amount) {
  const std::uint32_t sum = AlphaOf(p) + TruncToByte(amount);
  p = WithAlpha(p, sum > 255 ? 255 : sum);
}

}  // namespace lumra
