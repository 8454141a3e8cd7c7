#pragma once
// A copy of the parameter block that the audio thread publishes and a state save reads, which
// hosts may call while a block runs: every 4-byte word is one atomic, so a value is never torn.

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>

#include "plugin/param_block.h"

namespace lumra::lv2 {

class BlockMirror {
 public:
  void Store(const ParamBlock& block) {
    const auto bytes = std::bit_cast<std::array<std::uint32_t, Words>>(block);
    for (std::size_t i = 0; i < Words; ++i) words_[i].store(bytes[i], std::memory_order_relaxed);
  }

  ParamBlock Load() const {
    std::array<std::uint32_t, Words> bytes{};
    for (std::size_t i = 0; i < Words; ++i) bytes[i] = words_[i].load(std::memory_order_relaxed);
    return std::bit_cast<ParamBlock>(bytes);
  }

 private:
  static constexpr std::size_t Words = ParamBlockSize / 4;
  std::array<std::atomic<std::uint32_t>, Words> words_{};
};

}  // namespace lumra::lv2
