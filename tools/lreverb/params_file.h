#pragma once
// Reads a parameter block from a file: either the 148 bytes themselves, or a text file holding
// the block as 296 hexadecimal digits (whitespace around and between them is allowed).

#include <string>

#include "plugin/param_block.h"

namespace lumra {

// Throws std::runtime_error with one line saying what is wrong.
ParamBlock ReadParamsFile(const std::string& path);

}  // namespace lumra
