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

  float State = 0.0f;
  float Coef = 0.0f;
  float Scale = 1.0f;
};

}  // namespace lumra
