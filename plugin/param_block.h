#pragma once
// The 148-byte parameter block the host saves and restores byte for byte: 36 knob values
// (float32, normally 0..1), the Power byte and three bytes kept as the host wrote them.

#include <array>
#include <cstddef>
#include <cstdint>

namespace lumra {

inline constexpr int KnobCount = 36;
inline constexpr std::size_t ParamBlockSize = 148;

struct ParamBlock {
  std::array<float, KnobCount> Values{};
  std::uint8_t Power = 0;
  std::array<std::uint8_t, 3> Reserved{};
};

static_assert(sizeof(ParamBlock) == ParamBlockSize);
static_assert(offsetof(ParamBlock, Power) == 144);

}  // namespace lumra
