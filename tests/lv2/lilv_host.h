#pragma once
// A small LV2 host on lilv for the tests: the bundle from LV2_PATH, a URID map, and the
// plug-in instantiated with its ports connected to buffers of the host's.

#include <lilv/lilv.h>
#include <lv2/state/state.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "lv2/ports.h"
#include "plugin/param_block.h"

namespace lumra::lv2 {

// Planar audio, one vector per channel.
using Audio = std::vector<std::vector<float>>;

Audio Noise(int channels, std::size_t frames, unsigned seed);

// The world and the features every instance gets, for the whole test program.
class TestHost {
 public:
  static TestHost& Get();
  LilvWorld* World() const { return world_; }
  const LilvPlugin* Plugin(std::string_view uri) const;
  LV2_URID_Map* Map() { return &map_; }
  LV2_URID_Unmap* Unmap() { return &unmap_; }
  const LV2_Feature* const* Features() const { return features_.data(); }
  std::uint32_t Urid(const char* uri);
  const char* Uri(std::uint32_t urid) const;

 private:
  TestHost();
  LilvWorld* world_;
  std::vector<std::string> uris_;
  LV2_URID_Map map_{};
  LV2_URID_Unmap unmap_{};
  LV2_Feature mapFeature_{};
  std::array<const LV2_Feature*, 2> features_{};
};

class HostedReverb {
 public:
  HostedReverb(std::string_view uri, double rate);
  ~HostedReverb();
  HostedReverb(const HostedReverb&) = delete;
  HostedReverb& operator=(const HostedReverb&) = delete;

  int Channels() const { return channels_; }
  float& Control(std::uint32_t port) { return controls_[port]; }
  void SetKnobs(const ParamBlock& block);
  // Runs the frames from `at` of in through the plug-in into the same frames of out, in one
  // run() call on the host's own buffers (which the plug-in may not assume to be the same).
  void Run(const Audio& in, Audio& out, std::size_t at, std::uint32_t frames);
  // The whole input in blocks of the given size.
  Audio Render(const Audio& in, std::uint32_t block);

  const LV2_State_Interface& State() const;
  LV2_Handle Handle() const;
  LilvInstance* Instance() const { return instance_; }

 private:
  int channels_;
  LilvInstance* instance_;
  std::array<float, port::FirstAudio> controls_{};
  std::array<std::vector<float>, 4> audio_;  // ins then outs
};

// Saves the instance's state through its state interface: the block's bytes as stored.
std::vector<std::uint8_t> SaveBlock(const HostedReverb& reverb);
// Restores a block of bytes under the block key with the given type (atom:Chunk normally).
LV2_State_Status RestoreBlock(HostedReverb& reverb, const std::vector<std::uint8_t>& bytes,
                              std::uint32_t type);

// The engine alone, as lreverb render drives it, in blocks of 512 frames.
Audio EngineRender(const ParamBlock& block, std::int32_t rate, const Audio& in);

ParamBlock FactoryBlock(std::string_view name);

}  // namespace lumra::lv2
