#pragma once
// Removes the temporary file of an output being written when the process is stopped by Ctrl-C,
// SIGTERM, SIGHUP or a closed pipe, then lets the signal end the process as it would have.

#include <filesystem>

namespace lumra {

// One temporary file at a time is watched. Installs the handlers on first use; signals that
// were ignored when the process started stay ignored.
void WatchTemporaryFile(const std::filesystem::path& path);
void ForgetTemporaryFile();

}  // namespace lumra
