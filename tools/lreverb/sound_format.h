#pragma once
// Which file format a render writes, from libsndfile's own tables of formats: the one named by
// --format, else the one OUT's extension names, else the input's container; within it float
// samples where it holds them, else the input's encoding, else the finest it offers. Float WAV
// is written with the extensible header.

#include <optional>
#include <string>
#include <string_view>

namespace lumra {

// The libsndfile format (container and encoding) for the output. Throws UsageError for a
// --format name libsndfile does not know, std::runtime_error when the container cannot hold
// that many channels at that rate.
int ChooseOutputFormat(const std::optional<std::string>& formatName, const std::string& output,
                       int inputFormat, int channels, int sampleRate);

// Throws UsageError unless --format takes this name.
void RequireFormatName(const std::string& name);

// The names --format takes, for help and messages: "aiff, au, ...".
std::string FormatNames();

// Whether samples above full scale are clipped when written in this encoding (integer and
// other fixed-point encodings), rather than kept (float, and the lossy codecs that take floats).
bool ClipsAtFullScale(int format);

// libsndfile's name of the format's encoding: "Signed 16 bit PCM".
std::string EncodingName(int format);

}  // namespace lumra
