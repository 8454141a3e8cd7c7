#pragma once
// PNG export of a surface, for looking at what was drawn (Linux builds only).

#include <filesystem>

#include "gui/fdib.h"

namespace lumra {

// Writes the colour of every pixel as 8-bit RGB, alpha left out as on screen. The file appears
// whole or not at all: it is written beside path under a temporary name and renamed.
// Throws std::runtime_error when it cannot be written.
void SavePng(const TFDIB& surface, const std::filesystem::path& path);

}  // namespace lumra
