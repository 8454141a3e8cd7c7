#include "presets/block_codec.h"

namespace lumra {
namespace {

constexpr std::string_view Digits = "0123456789ABCDEF";

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string EncodeBlock(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    text += Digits[b >> 4];
    text += Digits[b & 0x0F];
  }
  return text;
}

std::vector<std::uint8_t> DecodeBlock(std::string_view text) {
  std::vector<std::uint8_t> bytes(text.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int high = DigitValue(text[2 * i]);
    const int low = DigitValue(text[2 * i + 1]);
    bytes[i] = (high < 0 || low < 0) ? 0 : static_cast<std::uint8_t>(high * 16 + low);
  }
  return bytes;
}

}  // namespace lumra
