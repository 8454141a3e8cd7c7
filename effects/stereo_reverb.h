#pragma once
// One stereo reverberation unit: two recirculating rings of prime length with self and cross
// feedback, a damping stage inside each loop, and up to 128 output taps per channel laid out
// pseudo-randomly by Setup.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "common/random.h"
#include "effects/effect.h"
#include "effects/prime_table.h"

namespace lumra {

// What Setup builds a unit from.
struct ReverbSetup {
  std::int32_t SampleRate;
  bool DirectTap;     // first tap undelayed-in-time, gain 1, centred (early reflections)
  float ReverbTime;   // seconds for the loop to decay by 60 dB
  float Size;         // nominal ring length in 1/360 s
  float FeedSelf;     // relative share of feedback from a channel's own ring
  float FeedCross;    // relative share of feedback from the other channel's ring
  float Balance;      // 0.5: equal ring lengths; 0 or 1: about 10 % apart either way
  float TapCount;
  float GainSpread;   // random level variation of the taps, 0..1
  float PanSpread;    // width of the taps' random placement, 0..1
  float PanDelay;     // scales the inter-channel time difference of a tap
  float DampCutoff;   // Hz
  float DampDry;      // share of the undamped signal in the loop
};

class TStereoReverb3_1 : public TEffect {
 public:
  static constexpr int MaxTaps = 128;
  // The loop gain a unit is held below when damping normalisation would push it to 1 or more.
  static constexpr double MaxLoopGain = 0.999;

  TStereoReverb3_1() = default;

  // Starts a zeroed ring of the given length, in the memory the channel already holds when that
  // is large enough (so a ring reserved at its longest length never allocates again).
  void SetChannelLength(int channel, std::int32_t length);
  void FreeChannel(int channel);
  void ResetTaps();
  void AddTap(std::int32_t delay, std::int32_t skew, float gain, float pan,
              const TPrimeTable& primes);
  void SetDamping(float sampleRate, float cutoff, float dry);
  // Draws the tap pattern from random, which the caller has seeded.
  void Setup(const ReverbSetup& setup, const TPrimeTable& primes, RandomGenerator& random);

  void Clear() override;
  // The unit is driven only through ProcessStereo.
  void Process(TWavBuffer&) override {}
  void ProcessTo(const TWavBuffer&, TWavBuffer&) override {}
  void ProcessAddTo(const TWavBuffer&, TWavBuffer&) override {}

  // Replaces left.Count() samples of both buffers with the unit's fully wet output.
  void ProcessStereo(TWavBuffer& left, TWavBuffer& right);

  // Runs several units over the same stereo input, side by side, each writing its own output
  // pair (which may be the input itself). Each unit's result is exactly that of ProcessStereo.
  static void ProcessUnits(std::span<TStereoReverb3_1* const> units, const float* inLeft,
                           const float* inRight, std::span<float* const> outLeft,
                           std::span<float* const> outRight, std::int32_t count);

  // The ring cell at ring index position: the value written Length samples before the sample
  // at that index comes round again.
  float RingCell(int channel, std::int32_t position) const;

  std::array<std::int32_t, 2> Length{};
  std::array<std::int32_t, 2> Position{};
  std::array<std::array<std::int32_t, MaxTaps>, 2> TapOffset{};
  std::array<std::array<float, MaxTaps>, 2> TapGain{};
  std::array<std::int32_t, 2> TapCount{};
  std::array<float, 2> DampState{};
  float DampCoef = 0.0f;
  float DampScale = 1.0f;
  float DampMix = 0.0f;
  std::array<float, 2> TapNorm{1.0f, 1.0f};
  float LoopNorm = 0.0f;
  float FeedSelf = 0.0f;
  float FeedCross = 0.0f;

 private:
  friend class ReverbBank;
  static constexpr std::int32_t ChunkLimit = 256;

  bool Configured() const { return Length[0] != 0 && Length[1] != 0; }
  std::int32_t ShortestRing() const { return std::min(Length[0], Length[1]); }
  const float* Delayed(int channel, std::int32_t delay) const;
  // A chunk is FeedbackChunk (the loop inputs v), the damping recursion run by the caller, then
  // StoreChunk (ring cells, taps, advance).
  void FeedbackChunk(const float* inLeft, const float* inRight, float* sumLeft, float* sumRight,
                     std::int32_t n) const;
  void StoreChunk(std::array<const float*, 2> sums, std::array<const float*, 2> damped,
                  float* outLeft, float* outRight, std::int32_t n);
  void SumTaps(int channel, float* out, std::int32_t n);
  void Advance(std::int32_t n);
  void BoundLoopGain(double perPassDecay);
  void FlushDampStates();

  // Copies the chunk's n cells, just written at head_, between the history and its mirror.
  void MirrorChunk(int channel, std::int32_t n);

  // Each ring is kept as a circular history of the last span_ = Length + ChunkLimit cells: the
  // cell written at head_ goes to cells_[head_], and the first ChunkLimit cells are repeated
  // right after the last one. Any run of up to a chunk, for the feedback, the cell writes or a
  // tap, is then one contiguous run of memory, and a chunk's writes never reach a cell that one
  // of its taps still needs.
  std::array<std::unique_ptr<float[]>, 2> cells_;
  // Reading after the current cell is written, a tap with offset o hears the cell written
  // Length - o samples earlier (offset 0: the current cell).
  std::array<std::array<std::int32_t, MaxTaps>, 2> tapDelay_{};
  std::array<std::int32_t, 2> head_{};
  std::array<std::int32_t, 2> span_{};
  std::array<std::int32_t, 2> capacity_{};  // cells held by cells_
};

}  // namespace lumra
