#include "effects/delays.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "effects/flush.h"
#include "effects/vector_kernels.h"

namespace lumra {

void TDelayRing::SetLength(std::int32_t samples) {
  if (samples > capacity_) {
    FreeBuffer();
    buffer_ = std::make_unique<float[]>(static_cast<std::size_t>(samples));
    capacity_ = samples;
  }
  length_ = std::max(samples, 0);
  Clear();
  position_ = 0;
}

void TDelayRing::FreeBuffer() {
  buffer_.reset();
  capacity_ = 0;
  length_ = 0;
  position_ = 0;
}

void TDelayRing::Clear() {
  if (length_ == 0) return;
  std::fill_n(buffer_.get(), length_, 0.0f);
  position_ = 0;
}

void TZDelay::Process(TWavBuffer& buffer) { ProcessRun(buffer.Data(), buffer.Count()); }

void TZDelay::ProcessRun(float* x, std::int32_t n) {
  if (length_ == 0) return;
  // Within a run every cell is read once, then overwritten: swap the run with the block.
  ForEachRun(n, [x](std::int32_t at, float* ring, std::int32_t run) {
    SwapSamples(x + at, ring, run);
  });
}

void TDelay2::Process(TWavBuffer& buffer) { ProcessRun(buffer.Data(), buffer.Count()); }

void TDelay2::ProcessRun(float* x, std::int32_t n) {
  if (length_ == 0) return;
  const double gain = Gain;
  ForEachRun(n, [x, gain](std::int32_t at, float* ring, std::int32_t run) {
    AllPassRun(x + at, ring, run, gain);
  });
}

}  // namespace lumra
