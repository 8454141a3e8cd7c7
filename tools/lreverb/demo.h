#pragma once

#include <string>

namespace lumra {

// Writes the built-in dry test signal to DIR/dry.wav and its renderings through the load-time
// settings and a few factory presets beside it; prints each file's path.
void RunDemo(const std::string& directory);

}  // namespace lumra
