#include "tools/lreverb/output_file.h"

#include <stdexcept>

namespace lumra {

std::filesystem::path ReplaceableOutput(const std::string& output) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status entry = fs::symlink_status(output, ec);
  if (!fs::exists(entry)) return output;
  if (!fs::is_regular_file(fs::status(output, ec)))
    throw std::runtime_error("\"" + output + "\" is not a plain file; not replacing it");
  return fs::is_symlink(entry) ? fs::canonical(output) : fs::path(output);
}

}  // namespace lumra
