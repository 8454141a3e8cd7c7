#include "effects/vector_kernels.h"

#include "effects/flush.h"

namespace lumra {

LREVERB_VECTOR_CLONES
void SwapSamples(float* __restrict block, float* __restrict ring, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) {
    const float delayed = ring[i];
    ring[i] = block[i];
    block[i] = delayed;
  }
}

LREVERB_VECTOR_CLONES
void AllPassRun(float* __restrict block, float* __restrict ring, std::int32_t n, double gain) {
  for (std::int32_t i = 0; i < n; ++i) {
    const double d = ring[i];
    const float v = static_cast<float>(d * gain + block[i]);
    block[i] = static_cast<float>(d - gain * v);
    ring[i] = FlushTiny(v);
  }
}

LREVERB_VECTOR_CLONES
void FeedbackRun(float* __restrict v, const float* __restrict cSelf,
                 const float* __restrict cOther, const float* __restrict x, std::int32_t n,
                 double feedSelf, double feedCross) {
  for (std::int32_t i = 0; i < n; ++i)
    v[i] = static_cast<float>(cSelf[i] * feedSelf + cOther[i] * feedCross + x[i]);
}

LREVERB_VECTOR_CLONES
void DampedCellRun(float* __restrict ring, const float* __restrict v,
                   const float* __restrict damp, std::int32_t n, double mix, double norm) {
  for (std::int32_t i = 0; i < n; ++i) {
    const double vi = v[i];
    ring[i] = FlushTiny(static_cast<float>((vi - (vi - damp[i]) * mix) * norm));
  }
}

}  // namespace lumra
