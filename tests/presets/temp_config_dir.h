#pragma once
// A fresh folder that stands in for $XDG_CONFIG_HOME while the object lives.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace lumra::test {

class TempConfigDir {
 public:
  TempConfigDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumra-presets-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
    ::setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
  }
  TempConfigDir(const TempConfigDir&) = delete;
  TempConfigDir& operator=(const TempConfigDir&) = delete;
  ~TempConfigDir() {
    if (saved_.empty())
      ::unsetenv("XDG_CONFIG_HOME");
    else
      ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::string saved_;
};

}  // namespace lumra::test
