#pragma once
// Ring cells and filter states that decay below 2^-48 are set to exact zero, so that decaying
// signals end in true silence instead of lingering as ever smaller values.

#include <cmath>

namespace lumra {

inline constexpr float FlushThreshold = 0x1p-48f;

inline float FlushTiny(float x) { return std::fabs(x) < FlushThreshold ? 0.0f : x; }

}  // namespace lumra
