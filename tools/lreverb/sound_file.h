#pragma once
// Audio files through libsndfile: reading any format it knows, and writing a new file that
// appears under its name only once it is complete.

#include <sndfile.h>

#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace lumra {

class SoundReader {
 public:
  // Throws std::runtime_error naming the file and the reason.
  explicit SoundReader(const std::string& path);

  const SF_INFO& Info() const { return info_; }
  // Reads up to frames.size() / channels frames; returns the number read.
  sf_count_t Read(std::span<float> interleaved);

 private:
  SF_INFO info_{};
  std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file_;
};

// Writes to a temporary file beside the destination; Commit renames it into place. A writer
// destroyed without Commit removes the temporary file and leaves any existing file alone.
class AtomicSoundWriter {
 public:
  // Takes the container of `container` and float samples where that container holds them.
  AtomicSoundWriter(const std::string& path, int container, int channels, int sampleRate);
  ~AtomicSoundWriter();
  AtomicSoundWriter(const AtomicSoundWriter&) = delete;
  AtomicSoundWriter& operator=(const AtomicSoundWriter&) = delete;

  void Write(std::span<const float> interleaved);
  void Commit();

 private:
  std::filesystem::path path_, temporary_;
  SF_INFO info_{};
  std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file_;
  bool committed_ = false;
};

}  // namespace lumra
