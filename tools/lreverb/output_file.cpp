#include "tools/lreverb/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "tools/lreverb/command_line.h"
#include "tools/lreverb/interrupt_cleanup.h"

namespace lumra {
namespace {

namespace fs = std::filesystem;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now, reporting the error a delayed write may only show here.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

[[noreturn]] void Fail(const std::string& argument, const std::string& what) {
  throw std::runtime_error("cannot write " + Quote(argument) + ": " + what);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// An empty file of a name no one else holds, beside `beside` (for a rename onto it) or in the
// temporary folder, with the mode a new file gets, or the mode of the file it will replace.
// keepMode 0: the mode of a new file.
fs::path CreateTemporary(const std::string& argument, const fs::path& beside, bool inTemporaryFolder,
                         mode_t keepMode) {
  std::error_code ec;
  const fs::path base = inTemporaryFolder ? fs::temp_directory_path(ec) / "lreverb-output" : beside;
  if (ec) Fail(argument, "no temporary folder: " + ec.message());
  const std::string stem = base.string() + ".tmp-" + std::to_string(::getpid());
  for (int attempt = 0;; ++attempt) {
    fs::path candidate = attempt == 0 ? stem : stem + "-" + std::to_string(attempt);
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST && attempt < 100) continue;
    if (fd < 0) Fail(argument, std::strerror(errno));
    Descriptor file(fd);
    WatchTemporaryFile(candidate);
    if (keepMode != 0) ::fchmod(fd, keepMode);
    return candidate;
  }
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  struct stat info {};
  const int status = path == "-" ? ::fstat(STDIN_FILENO, &info) : ::stat(path.c_str(), &info);
  if (status != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino};
}

OutputFile::OutputFile(const std::string& argument) : argument_(argument) {
  struct stat info {};
  if (argument == "-") {
    stream_ = toStandardOutput_ = true;
    if (::fstat(STDOUT_FILENO, &info) != 0) Fail("standard output", "it is closed");
    if (S_ISREG(info.st_mode)) destination_ = FileIdentity{info.st_dev, info.st_ino};
    temporary_ = CreateTemporary("standard output", {}, true, 0);
    return;
  }
  std::error_code ec;
  const fs::file_status entry = fs::symlink_status(argument, ec);
  if (!fs::exists(entry)) {
    target_ = argument;
  } else if (::stat(argument.c_str(), &info) != 0) {
    if (fs::is_symlink(entry)) Fail(argument, "it is a link to nothing; not writing through it");
    Fail(argument, std::strerror(errno));
  } else if (S_ISDIR(info.st_mode)) {
    Fail(argument, "it is a folder");
  } else if (S_ISREG(info.st_mode)) {
    // A link keeps pointing at the file: the new content takes the place of the file itself.
    target_ = fs::is_symlink(entry) ? fs::canonical(argument, ec) : fs::path(argument);
    if (ec) Fail(argument, ec.message());
  } else if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
    stream_ = true;
    target_ = argument;
  } else {
    Fail(argument, "it is not a plain file, a pipe or a device");
  }
  if (fs::exists(entry) && S_ISREG(info.st_mode)) destination_ = FileIdentity{info.st_dev, info.st_ino};
  const mode_t keepMode = !stream_ && destination_ ? info.st_mode & 07777 : 0;
  temporary_ = CreateTemporary(argument, target_, stream_, keepMode);
}

OutputFile::~OutputFile() {
  if (done_) return;
  ::unlink(temporary_.c_str());
  ForgetTemporaryFile();
}

void OutputFile::CopyToStream() const {
  const std::string name = toStandardOutput_ ? std::string("standard output") : argument_;
  Descriptor in(::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.Get() < 0) Fail(name, std::strerror(errno));
  Descriptor opened(toStandardOutput_ ? -1 : ::open(target_.c_str(), O_WRONLY | O_CLOEXEC));
  const int out = toStandardOutput_ ? STDOUT_FILENO : opened.Get();
  if (out < 0) Fail(name, std::strerror(errno));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(name, std::strerror(errno));
    if (n == 0) break;
    if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) Fail(name, std::strerror(errno));
  }
  if (!toStandardOutput_ && !opened.Close()) Fail(name, std::strerror(errno));
}

void OutputFile::Commit() {
  if (stream_) {
    CopyToStream();
    ::unlink(temporary_.c_str());
  } else if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Fail(argument_, std::strerror(errno));
  }
  done_ = true;
  ForgetTemporaryFile();
}

}  // namespace lumra
