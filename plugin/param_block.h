#pragma once
// The 148-byte parameter block the host saves and restores byte for byte: 36 knob values
// (float32, normally 0..1), the Power byte and three bytes kept as the host wrote them.

#include <array>
#include <cstddef>
#include <cstdint>

namespace lumra {

inline constexpr int KnobCount = 36;
inline constexpr std::size_t ParamBlockSize = 148;

struct ParamBlock {
  std::array<float, KnobCount> Values{};
  std::uint8_t Power = 0;
  std::array<std::uint8_t, 3> Reserved{};
};

static_assert(sizeof(ParamBlock) == ParamBlockSize);

// The knobs by their place in the block, named by panel and label.
namespace knob {
enum Index : int {
  ReverbTime, Color, SizeZ, Density, SizeX, SizeY,                                  // Reverb
  SpreadLevel, SpreadPhase, FeedbackCross, SpreadPan, DampFrequency, DampHiRatio,    // Spread
  OutputSize1, OutputSize2, OutputGain3, OutputSize3, OutputGain1, OutputGain2,      // Diffuse
  DryLevel, WetLevel, WetGain, HighPassFrequency, LowPassFrequency, Predelay,        // Mix
  WarpSizeX, WarpSizeY, EarlyDensity, WarpSizeZ, EarlySize, EarlyLevel,              // Warp
  LateSizeX, LateSizeY, LateGainZ, LateSizeZ, LateGainX, LateGainY,                  // Diffuse
};
}  // namespace knob
static_assert(knob::LateGainY + 1 == KnobCount);

// A value from a host or a preset may lie outside 0..1 or not be a number at all. The effect
// and the editor both use it held to 0..1, not-a-number as 0; the block keeps what was written.
inline float ClampKnobValue(float v) {
  if (!(v > 0.0f)) return 0.0f;
  return v < 1.0f ? v : 1.0f;
}

// The values the block holds when the library is loaded, knob by knob.
inline constexpr std::array<float, KnobCount> LoadValues{
    0.2f,    0.32f,    0.47f,   0.2f,  0.33f,    0.21f,     // Reverb
    0.5f,    1.0f,     1.0f,    0.3f,  0.39f,    0.5f,      // Spread
    0.13575f, 0.05575f, 0.658f, 0.114f, 0.58f,   0.613f,    // Diffuse (output)
    0.0f,    1.0f,     0.4f,    0.1f,  0.3f,     0.1f,      // Mix
    0.181f,  0.342f,   0.0f,    0.874f, 0.5f,    1.0f,      // Warp
    0.08675f, 0.13275f, 0.758f, 0.0535f, 0.787f, 0.659f,    // Diffuse (late units)
};

// The block as the library holds it when loaded: the load-time values, Power on.
inline ParamBlock LoadTimeBlock() {
  ParamBlock block;
  block.Values = LoadValues;
  block.Power = 1;
  return block;
}

// Every knob value as the effect and the editor use it, held by ClampKnobValue.
inline std::array<double, KnobCount> ClampedKnobValues(const ParamBlock& block) {
  std::array<double, KnobCount> p{};
  for (std::size_t i = 0; i < p.size(); ++i) p[i] = ClampKnobValue(block.Values[i]);
  return p;
}
static_assert(offsetof(ParamBlock, Power) == 144);

}  // namespace lumra
