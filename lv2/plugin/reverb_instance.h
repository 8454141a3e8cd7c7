#pragma once
// One plug-in instance: an engine of its own for the host's rate, the parameter block it was
// configured from, and the ports the host connected.

#include <array>
#include <cstdint>
#include <memory>

#include "lv2/plugin/block_mirror.h"
#include "lv2/ports.h"
#include "plugin/engine.h"

namespace lumra::lv2 {

class ReverbInstance {
 public:
  // Blocks are processed in slices of at most this many frames, the size the engine's working
  // buffers are reserved for.
  static constexpr std::int32_t SliceFrames = 4096;

  // Reserves every ring at its longest length for the rate (1..MaxSampleRate) and configures
  // the load-time settings. Throws std::bad_alloc.
  ReverbInstance(std::int32_t sampleRate, int channels);

  void ConnectPort(std::uint32_t index, void* data);
  // Silences every ring and filter, as a freshly loaded instance.
  void Activate();
  // Never allocates, locks or waits. Knob and Power port changes apply before the block.
  void Run(std::uint32_t frames);

  // The block as last applied; safe to call while Run runs on another thread.
  ParamBlock Block() const { return mirror_.Load(); }
  // Applies a whole block, values the ports cannot express included; the port values the host
  // holds then are taken as seen, not applied. Not concurrently with Run.
  void Restore(const ParamBlock& block);

 private:
  void ApplyChangedPorts();
  void CopyInputs(std::size_t at, std::int32_t count);
  void PublishPeaks(std::array<float, 2> peaks);

  std::int32_t rate_;
  int channels_;
  plugin::Engine engine_;
  ParamBlock block_ = LoadTimeBlock();
  BlockMirror mirror_;

  std::array<const float*, KnobCount> knobPorts_{};
  const float* powerPort_ = nullptr;
  std::array<float*, 2> peakPorts_{};
  std::array<const float*, 2> inputs_{};
  std::array<float*, 2> outputs_{};

  // Port values as last seen, compared bit for bit so that a not-a-number stays "unchanged".
  std::array<std::uint32_t, KnobCount> seenKnobs_{};
  std::uint32_t seenPower_ = 0;
  bool resync_ = false;
  // For hosts that cross a stereo pair in place (an output buffer that is the other input).
  std::array<std::unique_ptr<float[]>, 2> staging_;
};

}  // namespace lumra::lv2
