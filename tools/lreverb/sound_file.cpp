#include "tools/lreverb/sound_file.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "tools/lreverb/command_line.h"
#include "tools/lreverb/ogg_serial.h"
#include "tools/lreverb/sound_format.h"

namespace lumra {
namespace {

std::string Named(const std::string& path) { return path == "-" ? "standard input" : Quote(path); }

// Bytes per sample of the encodings whose size a header's data length can be divided by.
std::optional<int> SampleBytes(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
      return 1;
    case SF_FORMAT_PCM_16:
      return 2;
    case SF_FORMAT_PCM_24:
      return 3;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
      return 4;
    case SF_FORMAT_DOUBLE:
      return 8;
    default:
      return std::nullopt;
  }
}

// A fixed serial number for Ogg streams: identical renders give identical files.
constexpr std::uint32_t OggSerial = 0x4C52564Bu;

}  // namespace

SoundReader::SoundReader(const std::string& path) : path_(path), file_(nullptr, &sf_close) {
  file_.reset(sf_open(path.c_str(), SFM_READ, &info_));
  if (!file_) throw std::runtime_error("cannot read " + Named(path) + ": " + sf_strerror(nullptr));
}

std::optional<sf_count_t> SoundReader::Frames() const {
  if (info_.frames <= 0 || info_.frames == SF_COUNT_MAX) return std::nullopt;
  return info_.frames;
}

sf_count_t SoundReader::Read(std::span<float> interleaved) {
  if (!readError_.empty()) return 0;
  const sf_count_t n =
      sf_readf_float(file_.get(), interleaved.data(), static_cast<sf_count_t>(interleaved.size()) / info_.channels);
  if (n > 0) read_ += n;
  if (n <= 0 && sf_error(file_.get()) != SF_ERR_NO_ERROR) readError_ = sf_strerror(file_.get());
  return n > 0 ? n : 0;
}

// libsndfile shortens the frame count of a RIFF or AIFF file to what the file holds; the data
// chunk's length still says what the header promised.
std::optional<sf_count_t> SoundReader::PromisedFrames() const {
  const std::optional<int> bytes = SampleBytes(info_.format);
  if (!bytes) return std::nullopt;
  for (const char* id : {"data", "SSND"}) {
    SF_CHUNK_INFO wanted{};
    std::strcpy(wanted.id, id);
    wanted.id_size = 4;
    SF_CHUNK_ITERATOR* chunk = sf_get_chunk_iterator(file_.get(), &wanted);
    if (chunk == nullptr) continue;
    SF_CHUNK_INFO found{};
    if (sf_get_chunk_size(chunk, &found) != SF_ERR_NO_ERROR) return std::nullopt;
    // 0 and all ones mark a length written elsewhere or not known when the file was streamed.
    if (found.datalen == 0 || found.datalen == 0xFFFFFFFFu) return std::nullopt;
    const sf_count_t header = std::strcmp(id, "SSND") == 0 ? 8 : 0;  // offset and block size
    return (static_cast<sf_count_t>(found.datalen) - header) / (*bytes * info_.channels);
  }
  return std::nullopt;
}

std::string SoundReader::Shortfall() const {
  const std::string held = std::to_string(read_) + " frames";
  if (!readError_.empty())
    return Named(path_) + " could not be read to its end (" + readError_ + "); rendered the " + held +
           " before that";
  const sf_count_t promised = std::max(PromisedFrames().value_or(0), Frames().value_or(0));
  if (read_ < promised)
    return Named(path_) + " is cut short: its header promises " + std::to_string(promised) +
           " frames, it holds " + std::to_string(read_) + "; rendered those";
  return {};
}

SoundWriter::SoundWriter(const std::filesystem::path& path, const std::string& name, int format, int channels,
                         int sampleRate)
    : path_(path), name_(name), file_(nullptr, &sf_close), clips_(ClipsAtFullScale(format)) {
  info_.format = format;
  info_.channels = channels;
  info_.samplerate = sampleRate;
  file_.reset(sf_open(path.c_str(), SFM_WRITE, &info_));
  if (!file_) throw std::runtime_error("cannot write " + Quote(name) + ": " + sf_strerror(nullptr));
  // The PEAK chunk holds the time of writing: without it two renders are the same bytes.
  sf_command(file_.get(), SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  // Integer encodings clip instead of wrapping round when the reverb exceeds full scale.
  sf_command(file_.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

void SoundWriter::Write(std::span<const float> interleaved) {
  if (clips_)
    for (const float x : interleaved)
      if (std::fabs(x) > 1.0f) ++clipped_;
  const sf_count_t frames = static_cast<sf_count_t>(interleaved.size()) / info_.channels;
  if (sf_writef_float(file_.get(), interleaved.data(), frames) != frames)
    throw std::runtime_error("cannot write " + Quote(name_) + ": " + sf_strerror(file_.get()));
}

void SoundWriter::Finish() {
  if (sf_close(file_.release()) != 0) throw std::runtime_error("cannot write " + Quote(name_));
  if ((info_.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG) SetOggSerialNumber(path_, OggSerial);
}

}  // namespace lumra
