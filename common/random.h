#pragma once
// The pseudo-random generator of the effect and the editor: a 32-bit linear congruential state.
//
// Every consumer owns its generator and seeds it itself: the reverb taps from the "Color" value,
// the editor's decay sketch from the same value, the face's grain from 0. So the same settings
// always give the same tap patterns and pictures, and no drawing on one thread can disturb a
// sequence drawn on another.

#include <cstdint>

namespace lumra {

class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint32_t seed = 0) : state_(seed) {}

  std::uint32_t Seed() const { return state_; }
  void SetSeed(std::uint32_t seed) { state_ = seed; }

  // Advances the state to s * 134775813 + 1 and returns the upper half of the 64-bit product
  // state * n: 0 <= Random(n) < n, and Random(0) == 0 (the state still advances).
  std::uint32_t Random(std::uint32_t n) {
    state_ = state_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * n) >> 32);
  }

 private:
  std::uint32_t state_;
};

}  // namespace lumra
