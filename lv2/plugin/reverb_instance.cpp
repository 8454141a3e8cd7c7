#include "lv2/plugin/reverb_instance.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lumra::lv2 {
namespace {

std::uint32_t Bits(float v) { return std::bit_cast<std::uint32_t>(v); }

// lv2:toggled: above zero is on.
std::uint8_t PowerByte(float v) { return v > 0.0f ? 1 : 0; }

}  // namespace

ReverbInstance::ReverbInstance(std::int32_t sampleRate, int channels)
    : rate_(sampleRate), channels_(channels) {
  engine_.Reserve(rate_, SliceFrames);
  engine_.Configure(block_, rate_);
  engine_.SetMetering(true);
  for (int i = 0; i < KnobCount; ++i) seenKnobs_[i] = Bits(block_.Values[i]);
  seenPower_ = Bits(1.0f);
  mirror_.Store(block_);
  if (channels_ == 2)
    for (auto& stage : staging_) stage = std::make_unique<float[]>(SliceFrames);
}

void ReverbInstance::ConnectPort(std::uint32_t index, void* data) {
  if (index < port::Power) {
    knobPorts_[index] = static_cast<const float*>(data);
  } else if (index == port::Power) {
    powerPort_ = static_cast<const float*>(data);
  } else if (index == port::PeakLeft || index == port::PeakRight) {
    peakPorts_[index - port::PeakLeft] = static_cast<float*>(data);
  } else if (index < port::FirstAudio + static_cast<std::uint32_t>(channels_)) {
    inputs_[index - port::FirstAudio] = static_cast<const float*>(data);
  } else if (index < PortCount(channels_)) {
    outputs_[index - OutputPort(channels_, 0)] = static_cast<float*>(data);
  }
}

void ReverbInstance::Activate() { engine_.Clear(); }

void ReverbInstance::Restore(const ParamBlock& block) {
  block_ = block;
  engine_.Configure(block_, rate_);
  mirror_.Store(block_);
  resync_ = true;
}

void ReverbInstance::ApplyChangedPorts() {
  if (resync_) {
    for (int i = 0; i < KnobCount; ++i)
      if (knobPorts_[i] != nullptr) seenKnobs_[i] = Bits(*knobPorts_[i]);
    if (powerPort_ != nullptr) seenPower_ = Bits(*powerPort_);
    resync_ = false;
    return;
  }
  bool knobsChanged = false;
  bool powerChanged = false;
  for (int i = 0; i < KnobCount; ++i) {
    if (knobPorts_[i] == nullptr) continue;
    const float v = *knobPorts_[i];
    if (Bits(v) == seenKnobs_[i]) continue;
    seenKnobs_[i] = Bits(v);
    block_.Values[i] = v;
    knobsChanged = true;
  }
  if (powerPort_ != nullptr && Bits(*powerPort_) != seenPower_) {
    seenPower_ = Bits(*powerPort_);
    const std::uint8_t power = PowerByte(*powerPort_);
    if (power != (block_.Power != 0 ? 1 : 0)) {
      block_.Power = power;
      powerChanged = true;
    }
  }
  if (knobsChanged) engine_.Configure(block_, rate_);
  // As the face's Power switch does; Configure has emptied the rings already.
  if (powerChanged && !knobsChanged) engine_.Clear();
  if (knobsChanged || powerChanged) mirror_.Store(block_);
}

void ReverbInstance::CopyInputs(std::size_t at, std::int32_t count) {
  const auto bytes = sizeof(float) * static_cast<std::size_t>(count);
  const bool crossed = channels_ == 2 && (outputs_[0] == inputs_[1] || outputs_[1] == inputs_[0]);
  if (crossed) {
    for (int c = 0; c < 2; ++c) std::memcpy(staging_[c].get(), inputs_[c] + at, bytes);
    for (int c = 0; c < 2; ++c) std::memcpy(outputs_[c] + at, staging_[c].get(), bytes);
    return;
  }
  for (int c = 0; c < channels_; ++c)
    if (outputs_[c] != inputs_[c]) std::memmove(outputs_[c] + at, inputs_[c] + at, bytes);
}

void ReverbInstance::PublishPeaks(std::array<float, 2> peaks) {
  if (channels_ == 1) peaks[1] = 0.0f;
  for (int c = 0; c < 2; ++c)
    if (peakPorts_[c] != nullptr) *peakPorts_[c] = peaks[c];
}

void ReverbInstance::Run(std::uint32_t frames) {
  for (int c = 0; c < channels_; ++c)
    if (inputs_[c] == nullptr || outputs_[c] == nullptr) return;
  ApplyChangedPorts();
  const bool on = block_.Power != 0;
  std::array<float, 2> peaks{0.0f, 0.0f};
  for (std::size_t at = 0; at < frames; at += SliceFrames) {
    const auto count = static_cast<std::int32_t>(std::min<std::size_t>(SliceFrames, frames - at));
    CopyInputs(at, count);
    if (!on) continue;
    std::array<float*, 2> slice{outputs_[0] + at, channels_ == 2 ? outputs_[1] + at : nullptr};
    engine_.ResetPeaks();
    engine_.Process(slice.data(), channels_, count);
    for (int c = 0; c < 2; ++c) peaks[c] = std::max(peaks[c], engine_.Peaks()[c]);
  }
  PublishPeaks(peaks);
}

}  // namespace lumra::lv2
