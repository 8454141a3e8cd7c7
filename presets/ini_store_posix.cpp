#include "presets/ini_store_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "presets/ini_format.h"
#include "presets/user_store.h"

namespace lumra {
namespace {

std::string Quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, std::string_view what,
                                  int error) {
  throw StoreError("cannot write the presets file " + Quoted(path) + ": " + std::string(what) +
                   ": " + std::strerror(error));
}

// Closes the descriptor when it goes out of scope; closing also releases a flock.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

FileDescriptor LockExclusive(const std::filesystem::path& path) {
  std::filesystem::path lockPath = path;
  lockPath += ".lock";
  FileDescriptor fd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (fd.Get() < 0) ThrowWriteError(path, "cannot open its lock file", errno);
  while (::flock(fd.Get(), LOCK_EX) != 0)
    if (errno != EINTR) ThrowWriteError(path, "cannot lock it", errno);
  return fd;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

IniFileStore::IniFileStore(std::filesystem::path path) : path_(std::move(path)) {
  std::error_code ec;
  std::filesystem::create_directories(path_.parent_path(), ec);
  if (ec)
    throw StoreError("cannot create the folder " + Quoted(path_.parent_path()) + ": " +
                     ec.message());
}

SectionTable IniFileStore::Load() const {
  FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0 && errno == ENOENT) return {};
  auto readError = [this] {
    return StoreError("cannot read the presets file " + Quoted(path_) + ": " +
                      std::strerror(errno));
  };
  if (fd.Get() < 0) throw readError();
  std::string text;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n > 0)
      text.append(buffer, static_cast<std::size_t>(n));
    else if (n == 0)
      break;
    else if (errno != EINTR)
      throw readError();
  }
  IniParseResult parsed = ParseIni(text);
  if (!parsed.Error.empty())
    throw StoreError("the presets file " + Quoted(path_) + " cannot be parsed (" + parsed.Error +
                     "); it is left unchanged, fix or move it");
  return std::move(parsed.Table);
}

void IniFileStore::Save(const SectionTable& table) const {
  std::string tempPath = path_.string() + ".XXXXXX";
  FileDescriptor fd(::mkostemp(tempPath.data(), O_CLOEXEC));
  if (fd.Get() < 0) ThrowWriteError(path_, "cannot create a temporary file", errno);

  struct stat existing {};
  const mode_t mode = ::stat(path_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  const bool written = WriteAll(fd.Get(), FormatIni(table)) && ::fchmod(fd.Get(), mode) == 0 &&
                       ::fsync(fd.Get()) == 0 && ::close(fd.Release()) == 0;
  if (!written || ::rename(tempPath.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    ::unlink(tempPath.c_str());
    ThrowWriteError(path_, "cannot replace it", error);
  }
}

void IniFileStore::Modify(const std::function<bool(SectionTable&)>& change) {
  const FileDescriptor lock = LockExclusive(path_);
  SectionTable table = Load();
  if (change(table)) Save(table);
}

std::string IniFileStore::ReadString(std::string_view section, std::string_view name,
                                     std::string_view fallback) {
  const SectionTable table = Load();
  const std::string* value = table.Find(section, name);
  return value != nullptr ? *value : std::string(fallback);
}

void IniFileStore::WriteString(std::string_view section, std::string_view name,
                               std::string_view value) {
  Modify([&](SectionTable& table) {
    table.Set(section, name, value);
    return true;
  });
}

std::vector<std::string> IniFileStore::ValueNames(std::string_view section) {
  return Load().Names(section);
}

void IniFileStore::DeleteValue(std::string_view section, std::string_view name) {
  Modify([&](SectionTable& table) { return table.Erase(section, name); });
}

std::filesystem::path UserIniPath(std::string_view product) {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
      const passwd* entry = ::getpwuid(::getuid());
      home = entry != nullptr ? entry->pw_dir : "/";
    }
    base = std::filesystem::path(home) / ".config";
  }
  return base / "Quorel" / (std::string(product) + ".ini");
}

std::unique_ptr<SettingsStore> OpenUserStore(std::string_view product) {
  return std::make_unique<IniFileStore>(UserIniPath(product));
}

}  // namespace lumra
