#include "tools/lreverb/sound_format.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "tools/lreverb/command_line.h"

namespace lumra {
namespace {

struct NamedFormat {
  std::string Name;  // lower case
  int Format;        // a container, or a container with the encoding its name implies
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// Every container under the first word of libsndfile's name for it ("wav", "aiff", "ogg") and
// under its extension ("oga"), the first of a name winning, plus the usual names libsndfile
// does not list for its containers.
const std::vector<NamedFormat>& FormatTable() {
  static const std::vector<NamedFormat> table = [] {
    std::vector<NamedFormat> names;
    const auto add = [&](std::string name, int format) {
      const bool known = std::any_of(names.begin(), names.end(), [&](const NamedFormat& n) { return n.Name == name; });
      if (!name.empty() && !known) names.push_back({std::move(name), format});
    };
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
    std::vector<SF_FORMAT_INFO> majors;
    for (int i = 0; i < count; ++i) {
      SF_FORMAT_INFO info{};
      info.format = i;
      if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info) == 0) majors.push_back(info);
    }
    // Microsoft's WAV before the other containers that use the extension.
    std::stable_partition(majors.begin(), majors.end(),
                          [](const SF_FORMAT_INFO& i) { return i.format == SF_FORMAT_WAV; });
    for (const SF_FORMAT_INFO& info : majors) {
      const std::string name = info.name;
      add(Lower(name.substr(0, name.find_first_of(" -("))), info.format);
    }
    for (const SF_FORMAT_INFO& info : majors) add(Lower(info.extension), info.format);
    add("aif", SF_FORMAT_AIFF);
    add("aifc", SF_FORMAT_AIFF);
    add("opus", SF_FORMAT_OGG | SF_FORMAT_OPUS);
    add("mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III);
    return names;
  }();
  return table;
}

std::optional<int> FormatNamed(std::string_view name) {
  const std::string wanted = Lower(name);
  for (const NamedFormat& n : FormatTable())
    if (n.Name == wanted) return n.Format;
  return std::nullopt;
}

bool Valid(int format, int channels, int sampleRate) {
  SF_INFO info{};
  info.format = format;
  info.channels = channels;
  info.samplerate = sampleRate;
  return sf_format_check(&info) != 0;
}

std::vector<int> EncodingsOf() {
  std::vector<int> encodings;
  int count = 0;
  sf_command(nullptr, SFC_GET_FORMAT_SUBTYPE_COUNT, &count, sizeof count);
  for (int i = 0; i < count; ++i) {
    SF_FORMAT_INFO info{};
    info.format = i;
    if (sf_command(nullptr, SFC_GET_FORMAT_SUBTYPE, &info, sizeof info) == 0) encodings.push_back(info.format);
  }
  return encodings;
}

}  // namespace

int ChooseOutputFormat(const std::optional<std::string>& formatName, const std::string& output,
                       int inputFormat, int channels, int sampleRate) {
  int chosen = inputFormat & SF_FORMAT_TYPEMASK;
  if (formatName) {
    RequireFormatName(*formatName);
    chosen = *FormatNamed(*formatName);
  } else if (output != "-") {
    const std::string extension = std::filesystem::path(output).extension().string();
    if (extension.size() > 1)
      if (const std::optional<int> named = FormatNamed(extension.substr(1))) chosen = *named;
  }
  const int container = chosen & SF_FORMAT_TYPEMASK;
  std::vector<int> candidates;
  if ((chosen & SF_FORMAT_SUBMASK) != 0) candidates.push_back(chosen & SF_FORMAT_SUBMASK);
  const std::array<int, 6> preferred{SF_FORMAT_FLOAT, inputFormat & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_24,
                                     SF_FORMAT_PCM_16, SF_FORMAT_VORBIS, SF_FORMAT_MPEG_LAYER_III};
  candidates.insert(candidates.end(), preferred.begin(), preferred.end());
  for (const int encoding : EncodingsOf()) candidates.push_back(encoding);
  for (const int encoding : candidates) {
    if (!Valid(container | encoding, channels, sampleRate)) continue;
    // Other programs expect float WAV to announce its samples in the extensible header.
    const bool floatWav = container == SF_FORMAT_WAV && (encoding == SF_FORMAT_FLOAT || encoding == SF_FORMAT_DOUBLE);
    return (floatWav ? SF_FORMAT_WAVEX : container) | encoding;
  }
  SF_FORMAT_INFO info{};
  info.format = container;
  const std::string name =
      sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) == 0 ? info.name : "the output format";
  throw std::runtime_error(name + " cannot hold " + std::to_string(channels) + " channel(s) at " +
                           std::to_string(sampleRate) + " Hz");
}

void RequireFormatName(const std::string& name) {
  if (!FormatNamed(name)) throw UsageError("--format takes one of " + FormatNames() + ", not " + Quote(name));
}

std::string FormatNames() {
  std::vector<std::string> names;
  for (const NamedFormat& n : FormatTable()) names.push_back(n.Name);
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

bool ClipsAtFullScale(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
    case SF_FORMAT_VORBIS:
    case SF_FORMAT_OPUS:
    case SF_FORMAT_MPEG_LAYER_I:
    case SF_FORMAT_MPEG_LAYER_II:
    case SF_FORMAT_MPEG_LAYER_III:
      return false;
    default:
      return true;
  }
}

std::string EncodingName(int format) {
  SF_FORMAT_INFO info{};
  info.format = format & SF_FORMAT_SUBMASK;
  return sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) == 0 ? info.name : "fixed-point";
}

}  // namespace lumra
