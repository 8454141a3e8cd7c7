#include "effects/lowpass.h"

#include <numbers>

#include "effects/flush.h"

namespace lumra {

OnePoleCoefficients OnePoleForCutoff(float frequency, float sampleRate) {
  const double r = sampleRate;
  const double pf = std::numbers::pi * frequency;
  const float coef = static_cast<float>(0.5 * (r - pf * (r - pf / 2.0) / r) / pf);
  const float scale = static_cast<float>(1.0 / (1.0 + static_cast<double>(coef)));
  return {coef, scale};
}

void TLPF::SetCutoff(float frequency, float sampleRate) {
  const OnePoleCoefficients c = OnePoleForCutoff(frequency, sampleRate);
  Coef = c.Coef;
  Scale = c.Scale;
}

void TLPF::FlushState() { State = FlushTiny(State); }

void TLPF::Process(TWavBuffer& buffer) {
  float* x = buffer.Data();
  const double coef = Coef;
  const double scale = Scale;
  float state = State;
  for (std::int32_t i = 0, n = buffer.Count(); i < n; ++i) {
    state = static_cast<float>((state * coef + x[i]) * scale);
    x[i] = state;
  }
  State = state;
  FlushState();
}

void TLPF::ProcessPair(TLPF& a, TWavBuffer& aBuffer, TLPF& b, TWavBuffer& bBuffer) {
  float* x = aBuffer.Data();
  float* y = bBuffer.Data();
  const double aCoef = a.Coef, aScale = a.Scale, bCoef = b.Coef, bScale = b.Scale;
  float aState = a.State, bState = b.State;
  for (std::int32_t i = 0, n = aBuffer.Count(); i < n; ++i) {
    aState = static_cast<float>((aState * aCoef + x[i]) * aScale);
    bState = static_cast<float>((bState * bCoef + y[i]) * bScale);
    x[i] = aState;
    y[i] = bState;
  }
  a.State = aState;
  b.State = bState;
  a.FlushState();
  b.FlushState();
}

}  // namespace lumra
