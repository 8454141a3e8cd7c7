#pragma once
// The text form of a parameter block as it is kept in the preset store: every byte in memory
// order as two upper-case hexadecimal digits, no separators, so a 148-byte block is 296 digits.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumra {

std::string EncodeBlock(std::span<const std::uint8_t> bytes);

// Decodes length / 2 bytes: a final odd character is ignored, either case is accepted and a
// pair that is not a hexadecimal number gives 0. Stored text is never rejected here; the
// caller decides what a size other than 148 means.
std::vector<std::uint8_t> DecodeBlock(std::string_view text);

}  // namespace lumra
