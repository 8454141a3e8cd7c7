#pragma once
// A deterministic dry test signal: percussive hits and tonal material in stereo. It is built
// from IEEE additions and multiplications only, so every platform produces the same samples.

#include <cstdint>
#include <vector>

namespace lumra {

struct StereoSignal {
  std::int32_t SampleRate = 0;
  std::vector<float> Left, Right;
};

StereoSignal MakeDemoSignal(std::int32_t sampleRate = 44100, double seconds = 4.0);

}  // namespace lumra
