#pragma once
// The library-wide pseudo-random generator: one 32-bit state, 0 at load.
//
// Reverb tap patterns are drawn from it right after seeding it from a parameter, so the same
// settings always give the same patterns; the editor's grain and decay sketch draw from it too.
// A sequence that must not interleave with draws from another thread (seed, draws, reseed) holds
// RandomSequenceLock() for its whole length.

#include <cstdint>
#include <mutex>

namespace lumra {

std::uint32_t RandomSeed();
void SetRandomSeed(std::uint32_t seed);

// Advances the state to s * 134775813 + 1 and returns the upper half of the 64-bit product
// state * n: 0 <= Random(n) < n, and Random(0) == 0 (the state still advances).
std::uint32_t Random(std::uint32_t n);

// Seeds from the UTC time of day: ((h * 60 + m) * 60 + s) * 1000 + ms.
void RandomizeFromClock();

std::unique_lock<std::mutex> RandomSequenceLock();

}  // namespace lumra
