#pragma once
// The processing chain: the effect objects, the chain's working buffers and settings, and how one
// block travels through them.

#include <array>
#include <cstdint>

#include "effects/delays.h"
#include "effects/lowpass.h"
#include "effects/reverb_bank.h"
#include "effects/stereo_reverb.h"
#include "effects/wav_buffer.h"

namespace lumra::plugin {

// The 22 effect objects: four reverb units (late X, Y, Z and the early reflections), a pre-delay
// per channel, Filters[kind][channel] (kind 0 low-pass, 1 the low-pass behind the high-pass) and
// Diffusers[line][channel][set] (set 0 in series on the output, set 1 on each late unit's path).
struct EffectObjects {
  std::array<TStereoReverb3_1, 4> Reverbs;
  std::array<TZDelay, 2> PreDelays;
  std::array<std::array<TLPF, 2>, 2> Filters;
  std::array<std::array<std::array<TDelay2, 2>, 2>, 3> Diffusers;

  void ClearAll();
};

inline constexpr int EarlyUnit = 3;

// What the chain itself takes from the parameters, besides the effect objects' settings.
struct ChainSettings {
  float DryLevel = 0.0f;
  float WetFactor = 0.0f;
  float EarlyLevel = 0.0f;
  bool LowPassOn = false;
  bool HighPassOn = false;
  bool DiffuseOn = false;
};

// One chunk of the two-channel chain.
struct StereoRows {
  static constexpr std::int32_t Length = ReverbBank::ChunkLimit;
  using Row = std::array<float, Length>;
  alignas(64) std::array<Row, 2> Input;                // pre-delayed input, per channel
  alignas(64) std::array<std::array<Row, 2>, 4> Units;  // outputs [early, X, Y, Z][channel]
};

// Working buffers of the processing chain; they keep their memory between blocks.
struct ChainBuffers {
  std::array<TWavBuffer, 2> Main, Dry, Early, Interleaved;
  TWavBuffer Pre;
  std::array<std::array<TWavBuffer, 2>, 2> Pair;  // [k][channel]
  ReverbBank Bank;
  StereoRows Stereo;
};

// Everything one block runs through.
struct ChainParts {
  EffectObjects Effects;
  ChainBuffers Buffers;
  ChainSettings Settings;
};

// Runs the one- or two-channel chain over buffers that hold n samples each, in place. When peaks
// is given, the wet output's peak of each channel run is stored there (a mono block stores the
// left one only).
void RunMonoChain(ChainParts& parts, float* channel, std::int32_t n,
                  std::array<float, 2>* peaks);
void RunStereoChain(ChainParts& parts, float* left, float* right, std::int32_t n,
                    std::array<float, 2>* peaks);

}  // namespace lumra::plugin
