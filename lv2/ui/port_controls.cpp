#include "lv2/ui/port_controls.h"

#include <bit>

#include "lv2/ports.h"

namespace lumra::lv2ui {
namespace {

// Values are compared as stored, so a NaN the host wrote counts as unchanged and -0 as a change.
bool SameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// lv2:toggled: any value above zero is on.
std::uint8_t PowerByte(float value) { return value > 0.0f ? 1 : 0; }

float PowerValue(std::uint8_t power) { return power != 0 ? 1.0f : 0.0f; }

}  // namespace

void PortControls::Apply(const ParamBlock& block) {
  for (std::uint32_t port = 0; port < KnobCount; ++port) {
    const float value = block.Values[port];
    if (SameBits(value, mirror_.Values[port])) continue;
    mirror_.Values[port] = value;
    Write(port, value);
  }
  const std::uint8_t power = block.Power != 0 ? 1 : 0;
  if (power != mirror_.Power) {
    mirror_.Power = power;
    Write(lv2::port::Power, PowerValue(power));
  }
}

void PortControls::TogglePower() {
  mirror_.Power = mirror_.Power != 0 ? 0 : 1;
  Write(lv2::port::Power, PowerValue(mirror_.Power));
}

bool PortControls::PortChanged(std::uint32_t port, float value) {
  if (port < KnobCount) {
    if (SameBits(value, mirror_.Values[port])) return false;
    mirror_.Values[port] = value;
    return true;
  }
  if (port == lv2::port::Power) {
    if (PowerByte(value) == mirror_.Power) return false;
    mirror_.Power = PowerByte(value);
    return true;
  }
  return false;
}

void PortControls::Write(std::uint32_t port, float value) {
  write_(controller_, port, sizeof value, lv2::FloatProtocol, &value);
}

}  // namespace lumra::lv2ui
