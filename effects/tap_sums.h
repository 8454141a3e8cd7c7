#pragma once
// The output taps of one reverb channel, summed over a run of samples. Per sample the taps are
// added in order to a float32 sum starting at 0, each addition computed in double and rounded
// to float32; the sum is then scaled by the channel's norm and rounded again.

#include <cstdint>

namespace lumra {

// out[i] = float(sum_i * norm), where sum_i adds runs[t][i] * gain[t] for t < taps: runs[t]
// points at the n samples tap t hears.
void SumTapRun(float* out, const float* const* runs, const float* gain, std::int32_t taps,
               std::int32_t n, double norm);

}  // namespace lumra
