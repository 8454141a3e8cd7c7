#pragma once
// One-pole low-pass with unity gain at 0 Hz: y[n] = (x[n] + Coef y[n-1]) / (1 + Coef).
// The chain forms its high-pass by subtracting this filter's output from its input.

#include "effects/effect.h"

namespace lumra {

struct OnePoleCoefficients {
  float Coef;
  float Scale;
};

// Coefficients for a cutoff of frequency Hz at sampleRate Hz.
OnePoleCoefficients OnePoleForCutoff(float frequency, float sampleRate);

class TLPF : public TEffect {
 public:
  TLPF() { SetCutoff(1000.0f, 48000.0f); }

  void SetCutoff(float frequency, float sampleRate);
  void Clear() override { State = 0.0f; }
  void Process(TWavBuffer& buffer) override;

  // Runs two filters over two buffers of the same length in one pass: each keeps its own
  // recursion, and interleaving them hides the latency of one behind the other.
  static void ProcessPair(TLPF& a, TWavBuffer& aBuffer, TLPF& b, TWavBuffer& bBuffer);

  float State = 0.0f;
  float Coef = 0.0f;
  float Scale = 1.0f;

 private:
  void FlushState();
};

}  // namespace lumra
