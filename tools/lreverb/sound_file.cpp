#include "tools/lreverb/sound_file.h"

#include <unistd.h>

#include <stdexcept>
#include <system_error>

namespace lumra {
namespace {

std::runtime_error FileError(const std::string& what, const std::string& path, SNDFILE* file) {
  return std::runtime_error(what + " \"" + path + "\": " + sf_strerror(file));
}

// The input's container with float samples when it can hold them; otherwise its own encoding.
SF_INFO OutputInfo(int container, int channels, int sampleRate) {
  SF_INFO info{};
  info.channels = channels;
  info.samplerate = sampleRate;
  info.format = (container & SF_FORMAT_TYPEMASK) | SF_FORMAT_FLOAT;
  if (sf_format_check(&info)) return info;
  info.format = container;
  if (sf_format_check(&info)) return info;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  return info;
}

}  // namespace

SoundReader::SoundReader(const std::string& path) : file_(nullptr, &sf_close) {
  file_.reset(sf_open(path.c_str(), SFM_READ, &info_));
  if (!file_) throw FileError("cannot read", path, nullptr);
}

sf_count_t SoundReader::Read(std::span<float> interleaved) {
  return sf_readf_float(file_.get(), interleaved.data(),
                        static_cast<sf_count_t>(interleaved.size()) / info_.channels);
}

AtomicSoundWriter::AtomicSoundWriter(const std::string& path, int container, int channels,
                                     int sampleRate)
    : path_(path), file_(nullptr, &sf_close) {
  temporary_ = path_;
  temporary_ += ".tmp-" + std::to_string(getpid());
  info_ = OutputInfo(container, channels, sampleRate);
  file_.reset(sf_open(temporary_.c_str(), SFM_WRITE, &info_));
  if (!file_) throw FileError("cannot write", path, nullptr);
  // Integer encodings clip instead of wrapping round when the reverb exceeds full scale.
  sf_command(file_.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AtomicSoundWriter::~AtomicSoundWriter() {
  if (committed_) return;
  file_.reset();
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
}

void AtomicSoundWriter::Write(std::span<const float> interleaved) {
  const sf_count_t frames = static_cast<sf_count_t>(interleaved.size()) / info_.channels;
  if (sf_writef_float(file_.get(), interleaved.data(), frames) != frames)
    throw FileError("cannot write", path_.string(), file_.get());
}

void AtomicSoundWriter::Commit() {
  if (sf_close(file_.release()) != 0)
    throw std::runtime_error("cannot write \"" + path_.string() + "\"");
  std::error_code error;
  std::filesystem::rename(temporary_, path_, error);
  if (error) throw std::runtime_error("cannot write \"" + path_.string() + "\": " + error.message());
  committed_ = true;
}

}  // namespace lumra
