#pragma once
// `lreverb face OUT.png ...`: writes what the editor draws, as an opaque RGB PNG: one paint of the
// window (the default), or the face, the knob sheet or the lit "Power" label as they are built.

#include <iosfwd>
#include <span>
#include <string>

namespace lumra {

// args holds the words after "face". Returns the exit status: 0, 1 for a failure, 2 for a
// command line that cannot be understood. Errors are one line on err; OUT is then left as it was.
int RunFaceCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace lumra
