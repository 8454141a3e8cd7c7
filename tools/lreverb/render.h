#pragma once
// Runs an audio file through the plug-in's engine, block by block, exactly as a host would.

#include <cstdint>
#include <optional>
#include <string>

#include "plugin/param_block.h"

namespace lumra {

struct RenderJob {
  std::string Input, Output;
  std::optional<ParamBlock> Params;  // the load-time settings when empty
  std::int32_t Block = 512;
  std::optional<double> TailSeconds;  // long enough to ring out when empty
  bool Progress = false;              // draw a progress bar on stderr
};

// Throws std::runtime_error with one line on any failure; OUT is then left as it was.
void Render(const RenderJob& job);

// Silence appended by default: one and a half reverberation times plus the pre-delay.
double RingOutSeconds(const ParamBlock& block);

}  // namespace lumra
