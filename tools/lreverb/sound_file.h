#pragma once
// Audio files through libsndfile: reading any format it knows, telling when a file holds less
// than its header promises, and writing a file in a chosen format.

#include <sndfile.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace lumra {

class SoundReader {
 public:
  // "-" reads standard input. Throws std::runtime_error naming the file and the reason.
  explicit SoundReader(const std::string& path);

  const SF_INFO& Info() const { return info_; }
  // The frame count, when the file says it (not so for some streams read from a pipe).
  std::optional<sf_count_t> Frames() const;
  // Reads up to interleaved.size() / channels frames; returns the number read, 0 at the end.
  sf_count_t Read(std::span<float> interleaved);
  // After reading to the end: one line saying how the file fell short of its header or why
  // reading stopped early; empty when it held all it promised.
  std::string Shortfall() const;

 private:
  std::optional<sf_count_t> PromisedFrames() const;

  std::string path_;
  SF_INFO info_{};
  std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file_;
  sf_count_t read_ = 0;
  std::string readError_;
};

// Writes a new file at path (normally an OutputFile's temporary file) and counts the samples
// that an encoding without room above full scale clips.
class SoundWriter {
 public:
  // format: container and encoding as ChooseOutputFormat gives them. name: the output as the
  // user gave it, for messages.
  SoundWriter(const std::filesystem::path& path, const std::string& name, int format, int channels,
              int sampleRate);

  void Write(std::span<const float> interleaved);
  // Closes the file; throws std::runtime_error when what was written cannot be completed.
  void Finish();

  int Format() const { return info_.format; }
  long long ClippedSamples() const { return clipped_; }

 private:
  std::filesystem::path path_;
  std::string name_;
  SF_INFO info_{};
  std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file_;
  bool clips_;
  long long clipped_ = 0;
};

}  // namespace lumra
