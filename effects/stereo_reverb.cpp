#include "effects/stereo_reverb.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/exact_math.h"
#include "common/random.h"
#include "effects/flush.h"
#include "effects/lowpass.h"
#include "effects/reverb_bank.h"
#include "effects/tap_sums.h"
#include "effects/vector_kernels.h"

namespace lumra {

void TStereoReverb3_1::SetChannelLength(int channel, std::int32_t length) {
  // A host automating a knob reconfigures again and again: a ring that fits in the channel's
  // memory is emptied in place rather than reallocated.
  const std::int32_t cells = length > 0 ? length + 2 * ChunkLimit : 0;
  if (cells > capacity_[channel]) {
    FreeChannel(channel);
    cells_[channel] = std::make_unique<float[]>(static_cast<std::size_t>(cells));
    capacity_[channel] = cells;
  }
  Length[channel] = std::max(length, 0);
  span_[channel] = length > 0 ? length + ChunkLimit : 0;
  std::fill_n(cells_[channel].get(), cells, 0.0f);
  head_[channel] = 0;
  Position[channel] = 0;
  ResetTaps();
}

void TStereoReverb3_1::FreeChannel(int channel) {
  cells_[channel].reset();
  capacity_[channel] = 0;
  Length[channel] = 0;
  Position[channel] = 0;
  head_[channel] = 0;
  span_[channel] = 0;
}

float TStereoReverb3_1::RingCell(int channel, std::int32_t position) const {
  const std::int32_t length = Length[channel];
  const std::int32_t age = ((position - Position[channel]) % length + length) % length;
  const std::int32_t at = head_[channel] - length + age;
  return cells_[channel][at < 0 ? at + span_[channel] : at];
}

void TStereoReverb3_1::ResetTaps() { TapCount = {0, 0}; }

void TStereoReverb3_1::AddTap(std::int32_t delay, std::int32_t skew, float gain, float pan,
                              const TPrimeTable& primes) {
  if (TapCount[1] >= MaxTaps || TapCount[0] >= MaxTaps || Length[0] == 0 || Length[1] == 0)
    return;
  const float leftGain = pan < 0.0f ? gain : static_cast<float>((1.0 - pan) * gain);
  const float rightGain = pan > 0.0f ? gain : static_cast<float>((1.0 + pan) * gain);
  const std::array<float, 2> gains{leftGain, rightGain};
  const std::array<std::int64_t, 2> delays{static_cast<std::int64_t>(delay) - skew,
                                           static_cast<std::int64_t>(delay) + skew};
  for (int ch = 0; ch < 2; ++ch) {
    const std::int64_t wanted = Length[ch] - 1 - delays[ch];
    const std::int32_t clamped = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(wanted, INT32_MIN, INT32_MAX));
    const std::int32_t offset = std::clamp(primes.NextAbove(clamped), 0, Length[ch] - 1);
    TapOffset[ch][TapCount[ch]] = offset;
    tapDelay_[ch][TapCount[ch]] = offset == 0 ? 0 : Length[ch] - offset;
    TapGain[ch][TapCount[ch]] = gains[ch];
    ++TapCount[ch];

    float magnitudes = 0.0f;
    for (std::int32_t t = 0; t < TapCount[ch]; ++t)
      magnitudes = static_cast<float>(magnitudes + std::fabs(static_cast<double>(TapGain[ch][t])));
    // All gains 0 (a tap panned fully to the other side) would divide by zero; the channel is
    // silent then anyway.
    TapNorm[ch] = magnitudes > 0.0f ? static_cast<float>(2.0 / std::sqrt(double{magnitudes})) : 0.0f;
  }
}

void TStereoReverb3_1::SetDamping(float sampleRate, float cutoff, float dry) {
  const OnePoleCoefficients c = OnePoleForCutoff(cutoff, sampleRate);
  DampCoef = c.Coef;
  DampScale = c.Scale;
  DampMix = static_cast<float>(1.0 - dry);

  // Sum of the stage's impulse response over the first millisecond.
  const std::int64_t m = RoundToInt(sampleRate) / 1000;
  float y = 0.0f;
  float sum = 0.0f;
  for (std::int64_t i = 0; i < m; ++i) {
    const double x = i == 0 ? 1.0 : 0.0;
    y = static_cast<float>((y * static_cast<double>(DampCoef) + x) * DampScale);
    const float o = static_cast<float>(x - (x - y) * DampMix);
    sum = static_cast<float>(sum + std::fabs(static_cast<double>(o)));
  }
  // Below 1000 Hz there is no millisecond to measure: leave the stage unnormalised.
  LoopNorm = sum > 0.0f ? static_cast<float>(1.0 / sum) : 1.0f;
}

void TStereoReverb3_1::Setup(const ReverbSetup& s, const TPrimeTable& primes, RandomGenerator& random) {
  const double r = s.SampleRate;
  const double u = r * s.Size;
  const double balance = s.Balance;
  SetChannelLength(0, primes.NextAbove(RoundToInt32(u * (1.0 - (balance - 0.5) * 0.2) / 360.0)));
  SetChannelLength(
      1, primes.NextAbove(RoundToInt32(u * (1.0 - ((1.0 - balance) - 0.5) * 0.2) / 360.0)));
  const std::int32_t nominal = RoundToInt32(u / 360.0);

  const float feedSum =
      static_cast<float>(std::fabs(double{s.FeedSelf}) + std::fabs(double{s.FeedCross}));
  const float w = feedSum > 0.0f ? static_cast<float>(1.0 / feedSum) : 1.0f;
  const float k = static_cast<float>(ExactExp(ExactLn(0.001) / (r * s.ReverbTime)));
  const double perPassDecay = IntPower(k, nominal);
  const float g = static_cast<float>(perPassDecay * w);

  const std::int32_t taps = RoundToInt32(s.TapCount);
  const double gs = s.GainSpread;
  const double ps = s.PanSpread;
  for (std::int32_t i = 0; i < taps; ++i) {
    if (s.DirectTap && i == 0) {
      AddTap(0, 0, 1.0f, 0.0f, primes);
      continue;
    }
    const std::uint32_t q1 = random.Random(65537);
    float gain = static_cast<float>(q1 / 65536.0 * gs * 2.0 + (1.0 - gs));
    if (random.Random(2) == 0) gain = -gain;
    const std::uint32_t q3 = random.Random(65537);
    const float pan = static_cast<float>(q3 / 65536.0 * ps * 2.0 - ps);
    const std::int32_t delay = static_cast<std::int32_t>(random.Random(static_cast<std::uint32_t>(nominal)));
    const std::int32_t skew = RoundToInt32(double{pan} * s.PanDelay * (r * 0.2) / 360.0);
    AddTap(delay, skew, static_cast<float>(IntPower(k, delay) * gain), pan, primes);
  }

  FeedSelf = static_cast<float>(double{s.FeedSelf} * g);
  FeedCross = static_cast<float>(double{s.FeedCross} * g);
  SetDamping(static_cast<float>(r), s.DampCutoff, s.DampDry);
  BoundLoopGain(perPassDecay);
}

// The damping stage's gain never exceeds LoopNorm, so LoopNorm * (|FeedSelf| + |FeedCross|)
// bounds the gain of one pass around the loop. Where normalisation pushes that to 1 or more
// the loop would grow without end; the feedback is then scaled so that one pass decays by what
// the reverberation time asks for, and never by less than MaxLoopGain.
void TStereoReverb3_1::BoundLoopGain(double perPassDecay) {
  const double loopGain = static_cast<double>(LoopNorm) *
                          (std::fabs(double{FeedSelf}) + std::fabs(double{FeedCross}));
  if (loopGain < 1.0) return;
  const double factor = std::min(perPassDecay, MaxLoopGain) / loopGain;
  FeedSelf = static_cast<float>(FeedSelf * factor);
  FeedCross = static_cast<float>(FeedCross * factor);
}

void TStereoReverb3_1::Clear() {
  for (int ch = 0; ch < 2; ++ch) {
    if (Length[ch] > 0) {
      std::fill_n(cells_[ch].get(), span_[ch] + ChunkLimit, 0.0f);
      head_[ch] = 0;
      Position[ch] = 0;
    }
  }
  DampState = {0.0f, 0.0f};
}

void TStereoReverb3_1::ProcessStereo(TWavBuffer& left, TWavBuffer& right) {
  TStereoReverb3_1* self = this;
  float* l = left.Data();
  float* r = right.Data();
  ProcessUnits({&self, 1}, l, r, {&l, 1}, {&r, 1}, left.Count());
}

void TStereoReverb3_1::ProcessUnits(std::span<TStereoReverb3_1* const> units,
                                    const float* inLeft, const float* inRight,
                                    std::span<float* const> outLeft,
                                    std::span<float* const> outRight, std::int32_t count) {
  ReverbBank bank;
  RunBank(bank, units, inLeft, inRight, outLeft, outRight, count);
}

// The cells written delay samples before the current one (0 <= delay <= Length), for the
// chunk's samples in order.
const float* TStereoReverb3_1::Delayed(int channel, std::int32_t delay) const {
  const std::int32_t at = head_[channel] - delay;
  return cells_[channel].get() + (at < 0 ? at + span_[channel] : at);
}

void TStereoReverb3_1::FeedbackChunk(const float* inLeft, const float* inRight, float* sumLeft,
                                     float* sumRight, std::int32_t n) const {
  const double self = FeedSelf;
  const double cross = FeedCross;
  const float* left = Delayed(0, Length[0]);
  const float* right = Delayed(1, Length[1]);
  FeedbackRun(sumLeft, left, right, inLeft, n, self, cross);
  FeedbackRun(sumRight, right, left, inRight, n, self, cross);
}

void TStereoReverb3_1::StoreChunk(std::array<const float*, 2> sums,
                                  std::array<const float*, 2> damped, float* outLeft,
                                  float* outRight, std::int32_t n) {
  for (int ch = 0; ch < 2; ++ch) {
    DampedCellRun(cells_[ch].get() + head_[ch], sums[ch], damped[ch], n, DampMix, LoopNorm);
    MirrorChunk(ch, n);
  }
  SumTaps(0, outLeft, n);
  SumTaps(1, outRight, n);
  Advance(n);
}

void TStereoReverb3_1::MirrorChunk(int channel, std::int32_t n) {
  float* cells = cells_[channel].get();
  const std::int32_t span = span_[channel];
  const std::int32_t begin = head_[channel];
  const std::int32_t end = begin + n;  // at most span + ChunkLimit
  // Cells written into the mirror belong at the history's start; cells written at its start
  // also belong in the mirror.
  if (end > span) std::memcpy(cells, cells + span, sizeof(float) * (end - span));
  if (begin < ChunkLimit)
    std::memcpy(cells + span + begin, cells + begin,
                sizeof(float) * (std::min(end, ChunkLimit) - begin));
}

// Read after the chunk's cells are written; within a chunk each tap hears one run of the ring.
void TStereoReverb3_1::SumTaps(int channel, float* out, std::int32_t n) {
  std::array<const float*, MaxTaps> runs;
  for (std::int32_t t = 0; t < TapCount[channel]; ++t)
    runs[t] = Delayed(channel, tapDelay_[channel][t]);
  SumTapRun(out, runs.data(), TapGain[channel].data(), TapCount[channel], n, TapNorm[channel]);
}

void TStereoReverb3_1::Advance(std::int32_t n) {
  for (int ch = 0; ch < 2; ++ch) {
    Position[ch] = (Position[ch] + n) % Length[ch];
    head_[ch] = (head_[ch] + n) % span_[ch];
  }
}

void TStereoReverb3_1::FlushDampStates() {
  for (float& state : DampState) state = FlushTiny(state);
}

}  // namespace lumra
