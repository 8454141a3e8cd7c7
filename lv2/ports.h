#pragma once
// The plug-in's identity as hosts and its face see it: URIs and port indices, the same for the
// stereo and the mono variant (knobs 0-35 in parameter-block order).

#include <cstdint>
#include <string_view>

#include "plugin/param_block.h"

namespace lumra::lv2 {

// The URIs are string literals, so data() is a terminated C string.
inline constexpr std::string_view StereoUri = "urn:quorel:lumra-reverb";
inline constexpr std::string_view MonoUri = "urn:quorel:lumra-reverb:mono";
inline constexpr std::string_view UiUri = "urn:quorel:lumra-reverb:ui";
// The state property holding the whole 148-byte parameter block as an atom:Chunk.
inline constexpr std::string_view BlockStateKey = "urn:quorel:lumra-reverb:block";

// Control values travel as one float (the ui:floatProtocol).
inline constexpr std::uint32_t FloatProtocol = 0;

namespace port {
inline constexpr std::uint32_t Power = KnobCount;  // lv2:enabled
inline constexpr std::uint32_t PeakLeft = Power + 1;
inline constexpr std::uint32_t PeakRight = Power + 2;
inline constexpr std::uint32_t FirstAudio = Power + 3;
}  // namespace port

// Audio ports of a variant with the given channel count: its inputs, then its outputs.
constexpr std::uint32_t InputPort(int channel) { return port::FirstAudio + channel; }
constexpr std::uint32_t OutputPort(int channels, int channel) {
  return port::FirstAudio + channels + channel;
}
constexpr std::uint32_t PortCount(int channels) { return port::FirstAudio + 2 * channels; }

static_assert(port::Power == 36 && port::FirstAudio == 39);

}  // namespace lumra::lv2
