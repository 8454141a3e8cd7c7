#pragma once
// A fixed, deterministic sawtooth-like signal in [-1, 1) for the DLL lifecycle tests.

#include <cstddef>
#include <vector>

namespace lumra::testing {

inline std::vector<float> Signal(std::size_t n) {
  std::vector<float> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<float>((i * 7919) % 2000) / 1000.0f - 1.0f;
  return v;
}

}  // namespace lumra::testing
