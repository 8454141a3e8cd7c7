#pragma once
// `lreverb render IN OUT [options]`: reads the command line, reports parameter blocks that
// cannot mean what they say, renders and reports what fell short.

#include <iosfwd>
#include <span>
#include <string>

namespace lumra {

// args holds the words after "render". Returns the exit status: 0, 1 for a failure, 2 for a
// command line that cannot be understood. Errors and warnings are one line each on err.
int RunRenderCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace lumra
