#pragma once
// Pixel access for the drawing tests.

#include <cstdint>

#include "gui/fdib.h"

namespace lumra {

inline TPixel PixelAt(const TFDIB& s, std::int32_t x, std::int32_t y) { return s.ScanLine(y)[static_cast<std::size_t>(x)]; }
inline std::uint32_t AlphaAt(const TFDIB& s, std::int32_t x, std::int32_t y) { return PixelAt(s, x, y) >> 24; }
inline void SetPixel(TFDIB& s, std::int32_t x, std::int32_t y, TPixel p) { s.ScanLine(y)[static_cast<std::size_t>(x)] = p; }

inline void Fill(TFDIB& s, TPixel p) {
  for (std::int32_t y = 0; y < s.Height(); ++y)
    for (TPixel& q : s.ScanLine(y)) q = p;
}

}  // namespace lumra
