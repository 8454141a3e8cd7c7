#pragma once
// Where a command's output goes, and how it arrives whole or not at all. Every output is first
// written to a temporary file:
// - a new or plain file (also one reached through links, which stay links) is replaced by
//   renaming the temporary file onto it, so readers see the old file or the new one;
// - "-" (standard output), a pipe or a device is a stream: the finished temporary file, kept in
//   the temporary folder, is copied into it;
// - anything else (a folder, a link to nothing, a socket) is refused.
// The temporary file is removed when the output is abandoned and when a signal stops the
// process (interrupt_cleanup.h).

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace lumra {

struct FileIdentity {
  dev_t Device;
  ino_t Inode;
  bool operator==(const FileIdentity&) const = default;
};

// The plain file a path names, through links; empty when there is none. "-" is standard input.
std::optional<FileIdentity> IdentityOf(const std::string& path);

class OutputFile {
 public:
  // Throws std::runtime_error with one line when the output cannot be written there.
  explicit OutputFile(const std::string& argument);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // The existing plain file the output would replace or write into.
  std::optional<FileIdentity> Destination() const { return destination_; }
  // Where to write the content; exists and is empty until written.
  const std::filesystem::path& Temporary() const { return temporary_; }
  // Puts the content in place; throws std::runtime_error naming the output on failure.
  void Commit();

 private:
  void CopyToStream() const;

  std::string argument_;
  std::filesystem::path target_;  // the file to replace or the stream to write into
  std::filesystem::path temporary_;
  std::optional<FileIdentity> destination_;
  bool stream_ = false;
  bool toStandardOutput_ = false;
  bool done_ = false;
};

}  // namespace lumra
