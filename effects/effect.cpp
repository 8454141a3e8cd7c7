#include "effects/effect.h"

#include <algorithm>
#include <array>

namespace lumra {

void TEffect::ProcessTo(const TWavBuffer& src, TWavBuffer& dst) {
  dst.Assign(src);
  Process(dst);
}

void TEffect::ProcessAddTo(const TWavBuffer& src, TWavBuffer& dst) {
  // Works through a small stack buffer so that no call allocates.
  constexpr std::int32_t Chunk = 256;
  std::array<float, Chunk> scratch;
  TWavBuffer temporary;
  const std::int32_t total = std::min(src.Count(), dst.Count());
  for (std::int32_t start = 0; start < total; start += Chunk) {
    const std::int32_t n = std::min(Chunk, total - start);
    std::copy_n(src.Data() + start, n, scratch.data());
    temporary.Attach(scratch.data(), n);
    Process(temporary);
    float* d = dst.Data() + start;
    for (std::int32_t i = 0; i < n; ++i) d[i] += scratch[i];
  }
}

}  // namespace lumra
