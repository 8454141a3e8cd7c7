#pragma once
// The reverberation engine: the processing chain with its effect objects, configured from a
// parameter block and a sample rate. A value its owner drives from one thread at a time; any
// number of engines may run side by side.

#include <array>
#include <cstdint>
#include <memory>

#include "plugin/param_block.h"

namespace lumra::plugin {

struct ChainParts;
struct EffectObjects;
struct ChainSettings;
class PrimeCache;

// Highest rate the engine configures itself for.
inline constexpr std::int32_t MaxSampleRate = 768000;

class Engine {
 public:
  // Every effect object starts unconfigured: until Configure sees a supported rate, blocks pass
  // through the chain unreverberated.
  Engine();
  ~Engine();
  Engine(Engine&&) noexcept;
  Engine& operator=(Engine&&) noexcept;

  // Rebuilds every effect setting from the block's knob values (held to 0..1) for the rate, and
  // empties every effect object. The tap patterns are drawn from a generator seeded from
  // "Color". A rate outside 1..MaxSampleRate leaves the previous settings in place. Reallocates
  // only rings whose length changes.
  void Configure(const ParamBlock& block, std::int32_t sampleRate);

  // Grows every ring to the longest length any knob values can ask for at this rate, and the
  // working buffers to blocks of up to maxFrames, so that from then on Configure at this rate
  // and such blocks allocate nothing. What the engine sounds like stays as it was; the settings
  // it is left with are those of the longest rings, so Configure follows.
  void Reserve(std::int32_t sampleRate, std::int32_t maxFrames);

  // One block in place: one buffer per channel, or channels interleaved (n counts frames).
  // Only one or two channels are processed; other layouts are left alone.
  void Process(float* const* channels, std::int32_t channelCount, std::int32_t n);
  void ProcessInterleaved(float* data, std::int32_t channelCount, std::int32_t n);

  // Silences every effect object; the settings stay.
  void Clear();

  // While on, each block measures the peak of its wet output per channel.
  void SetMetering(bool on) { metering_ = on; }
  // The peaks of the last metered block; a mono block sets the left one only.
  const std::array<float, 2>& Peaks() const { return peaks_; }
  void ResetPeaks() { peaks_ = {0.0f, 0.0f}; }

  // For inspection.
  const EffectObjects& Effects() const;
  const ChainSettings& Settings() const;

 private:
  std::unique_ptr<ChainParts> parts_;
  std::unique_ptr<PrimeCache> primes_;
  std::array<float, 2> peaks_{0.0f, 0.0f};
  bool metering_ = false;
};

}  // namespace lumra::plugin
