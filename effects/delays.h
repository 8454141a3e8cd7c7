#pragma once
// The plain delay line (pre-delay) and the single-coefficient all-pass section (diffusers).

#include <cstdint>
#include <memory>

#include "effects/effect.h"

namespace lumra {

// A ring of Length samples; Length 0 means pass-through.
class TDelayRing : public TEffect {
 public:
  // Starts a zeroed ring of the given length, in the memory it already holds when that is large
  // enough (so a ring reserved at its longest length never allocates again).
  void SetLength(std::int32_t samples);
  void FreeBuffer();
  void Clear() override;

  std::int32_t Length() const { return length_; }
  std::int32_t Position() const { return position_; }

 protected:
  // Splits n samples into runs that end at the ring's wrap point.
  template <typename Step>
  void ForEachRun(std::int32_t n, Step step);

  std::int32_t length_ = 0;
  std::int32_t capacity_ = 0;
  std::unique_ptr<float[]> buffer_;
  std::int32_t position_ = 0;
};

// Delays the signal by exactly Length samples, moving raw sample values.
class TZDelay : public TDelayRing {
 public:
  void Process(TWavBuffer& buffer) override;
  void ProcessRun(float* x, std::int32_t n);
};

// Schroeder all-pass: v[n] = x[n] + g v[n-N], y[n] = v[n-N] - g v[n].
class TDelay2 : public TDelayRing {
 public:
  void Process(TWavBuffer& buffer) override;
  void ProcessRun(float* x, std::int32_t n);

  float Gain = 1.0f;
};

template <typename Step>
void TDelayRing::ForEachRun(std::int32_t n, Step step) {
  std::int32_t done = 0;
  while (done < n) {
    const std::int32_t run = std::min(n - done, length_ - position_);
    step(done, buffer_.get() + position_, run);
    done += run;
    position_ += run;
    if (position_ == length_) position_ = 0;
  }
}

}  // namespace lumra
