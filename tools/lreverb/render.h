#pragma once
// Runs an audio file through the plug-in's engine, block by block, exactly as a host would.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plugin/param_block.h"

namespace lumra {

struct RenderJob {
  std::string Input, Output;  // "-": standard input, standard output
  std::optional<ParamBlock> Params;  // the load-time settings when empty
  std::int32_t Block = 512;
  std::optional<double> TailSeconds;  // long enough to ring out when empty
  std::optional<std::string> Format;  // a --format name; else OUT's extension or IN's container
  bool Progress = false;              // draw a progress bar on stderr
};

// Throws std::runtime_error with one line on any failure (OUT is then left as it was), also
// when OUT is IN itself. Returns warnings, one line each: an input shorter than its header
// promises, samples clipped by an integer output encoding.
std::vector<std::string> Render(const RenderJob& job);

// Silence appended by default: one and a half reverberation times plus the pre-delay.
double RingOutSeconds(const ParamBlock& block);

}  // namespace lumra
