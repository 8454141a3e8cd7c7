#pragma once
// The processing chain: how one block travels through the effect objects.

#include <cstdint>

#include "plugin/instance.h"

namespace lumra::plugin {

// Runs the one- or two-channel chain over host buffers that hold n samples each, in place.
void RunMonoChain(Instance& in, float* channel, std::int32_t n);
void RunStereoChain(Instance& in, float* left, float* right, std::int32_t n);

}  // namespace lumra::plugin
