#pragma once
// Where a command's output file may be written. Outputs are written beside their destination
// under a temporary name and renamed over it, which would put a plain file in place of a link,
// a device or a pipe.

#include <filesystem>
#include <string>

namespace lumra {

// The file to replace for output: output itself when it is absent or a plain file, the file a
// link points at when it is a link to a plain file. Throws std::runtime_error with one line for
// anything else (a folder, a device, a pipe, a dangling link).
std::filesystem::path ReplaceableOutput(const std::string& output);

}  // namespace lumra
