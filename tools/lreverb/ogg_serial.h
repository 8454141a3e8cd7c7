#pragma once
// libsndfile gives every Ogg stream it writes a random serial number, so two encodings of the
// same audio differ. Setting a fixed one afterwards makes them identical.

#include <cstdint>
#include <filesystem>

namespace lumra {

// Rewrites the stream serial number of every page of the Ogg file and the pages' checksums.
// Throws std::runtime_error when the file cannot be read or written, or is not a sequence of
// Ogg pages.
void SetOggSerialNumber(const std::filesystem::path& path, std::uint32_t serial);

}  // namespace lumra
