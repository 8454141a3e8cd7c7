#include "plugin/instance.h"

namespace lumra::plugin {

Instance& TheInstance() {
  static Instance instance;
  return instance;
}

// The audio thread reads the Power byte while the window thread may write it.
std::uint8_t Instance::Power() const {
  return std::atomic_ref(const_cast<std::uint8_t&>(Params.Power)).load(std::memory_order_relaxed);
}

void Instance::SetPower(std::uint8_t power) {
  std::atomic_ref(Params.Power).store(power, std::memory_order_relaxed);
}

}  // namespace lumra::plugin
