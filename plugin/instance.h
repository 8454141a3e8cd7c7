#pragma once
// The one effect instance of the library and the state its entry points share.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "effects/delays.h"
#include "effects/lowpass.h"
#include "effects/reverb_bank.h"
#include "effects/stereo_reverb.h"
#include "effects/wav_buffer.h"
#include "plugin/editor_view.h"
#include "plugin/param_block.h"

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

inline constexpr int EarlyUnit = 3;

struct Instance {
  ParamBlock Params{};
  std::atomic<std::int32_t> SampleRate{0};
  std::atomic<std::int32_t> ChannelCount{0};
  std::atomic<bool> Processing{false};
  std::atomic<bool> Reconfiguring{false};
  std::atomic<bool> MeterOn{false};
  std::atomic<float> PeakLeft{0.0f};
  std::atomic<float> PeakRight{0.0f};
  std::atomic<std::int32_t> ChangeCount{1};
  std::string CaptionText;

  // Derived settings for the chain, written by ApplyParameters.
  float DryLevel = 0.0f;
  float WetFactor = 0.0f;
  float EarlyLevel = 0.0f;
  bool LowPassOn = false;
  bool HighPassOn = false;
  bool DiffuseOn = false;

  void (*SetDataEntry)(const void*, std::int32_t) = nullptr;
  void (*GetDataEntry)(void**, std::int32_t*) = nullptr;

  std::unique_ptr<EffectObjects> Effects;
  std::unique_ptr<ChainBuffers> Buffers;
  // Null until the window exists; it belongs to the thread that loaded the library.
  std::unique_ptr<EditorView> Editor;

  std::uint8_t Power() const;
  void SetPower(std::uint8_t power);
};

Instance& TheInstance();

// Fills the block with the load-time values and Power 1, sets the change counter to 0 and
// applies the block.
void LoadDefaults();

// Rebuilds every effect setting from Params and SampleRate and adds 1 to the change counter.
// Waits (pumping window messages) for a block in progress and for an application running on
// another thread. When newBlock is given it replaces Params first, inside the same exclusion,
// so no block and no other application sees the block half-copied.
void ApplyParameters(const ParamBlock* newBlock = nullptr);

// Calls Clear on every effect object, between blocks as ApplyParameters reconfigures, without
// an application: the change counter stays.
void ClearEffects();

// The Power switch: flips the Power byte and clears every effect object.
void TogglePower();

}  // namespace lumra::plugin
