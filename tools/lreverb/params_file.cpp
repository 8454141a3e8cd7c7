#include "tools/lreverb/params_file.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "presets/block_codec.h"

namespace lumra {

ParamBlock ReadParamsFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open \"" + path + "\": " + std::strerror(errno));
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  ParamBlock block;
  if (bytes.size() == ParamBlockSize) {
    std::memcpy(&block, bytes.data(), ParamBlockSize);
    return block;
  }
  std::string digits;
  for (const char c : bytes) {
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) {
      digits.clear();
      break;
    }
    digits += c;
  }
  if (digits.size() != 2 * ParamBlockSize)
    throw std::runtime_error("\"" + path + "\" is neither a " + std::to_string(ParamBlockSize) +
                             "-byte parameter block nor " + std::to_string(2 * ParamBlockSize) +
                             " hexadecimal digits");
  const std::vector<std::uint8_t> decoded = DecodeBlock(digits);
  std::memcpy(&block, decoded.data(), ParamBlockSize);
  return block;
}

}  // namespace lumra
