#pragma once
// The output taps of one reverb channel, summed over a run of samples. Per sample the taps are
// added in order to a float32 sum starting at 0, each addition computed in double and rounded
// to float32; the sum is then scaled by the channel's norm and rounded again.

#include <cstdint>

namespace lumra {

// out[i] = float(sum_i * norm), where sum_i adds history[i - back[t]] * gain[t] for t < taps.
// history[i - back[t]] must be readable for every i < n and every tap.
void SumTapRun(float* out, const float* history, const std::int32_t* back, const float* gain,
               std::int32_t taps, std::int32_t n, double norm);

}  // namespace lumra
