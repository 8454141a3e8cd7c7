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

void TLPF::Process(TWavBuffer& buffer) {
  float* x = buffer.Data();
  const double coef = Coef;
  const double scale = Scale;
  float state = State;
  for (std::int32_t i = 0, n = buffer.Count(); i < n; ++i) {
    state = static_cast<float>((state * coef + x[i]) * scale);
    x[i] = state;
  }
  State = FlushTiny(state);
}

}  // namespace lumra
