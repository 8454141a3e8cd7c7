#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace lumra {

// Writes the built-in dry test signal to DIR/dry.wav and its renderings through the load-time
// settings and a few factory presets beside it; prints each file's path.
void RunDemo(const std::string& directory, std::ostream& out);

// `lreverb demo [DIR]`; args holds the words after "demo". Returns the exit status.
int RunDemoCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace lumra
