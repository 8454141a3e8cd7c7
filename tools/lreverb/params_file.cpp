#include "tools/lreverb/params_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "presets/block_codec.h"
#include "tools/lreverb/command_line.h"

namespace lumra {
namespace {

// Far more than 296 digits with any layout of whitespace; a larger file is something else.
constexpr std::size_t MaxParamsFileSize = 64 * 1024;

std::string ReadSmallFile(const std::string& path) {
  const auto fail = [&](const std::string& why) -> std::runtime_error {
    return std::runtime_error("cannot read the parameter file " + Quote(path) + ": " + why);
  };
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw fail(std::strerror(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) throw fail("it is a folder");
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw fail(std::strerror(errno));
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > MaxParamsFileSize) throw fail("it is far larger than a parameter block");
  }
}

}  // namespace

ParamBlock ReadParamsFile(const std::string& path) {
  const std::string bytes = ReadSmallFile(path);
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
    throw std::runtime_error(Quote(path) + " is neither a " + std::to_string(ParamBlockSize) +
                             "-byte parameter block nor " + std::to_string(2 * ParamBlockSize) +
                             " hexadecimal digits");
  const std::vector<std::uint8_t> decoded = DecodeBlock(digits);
  std::memcpy(&block, decoded.data(), ParamBlockSize);
  return block;
}

}  // namespace lumra
