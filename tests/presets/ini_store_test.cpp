#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "presets/ini_format.h"
#include "presets/ini_store_posix.h"
#include "presets/user_store.h"
#include "temp_config_dir.h"

namespace lumra::test {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::filesystem::path& path, std::string_view text) {
  std::ofstream(path, std::ios::binary) << text;
}

class IniStoreTest : public ::testing::Test {
 protected:
  TempConfigDir dir_;
  std::filesystem::path path_ = dir_.Path() / "Quorel" / "Quorel Lumra Reverb.ini";
};

TEST(IniFormat, EscapesEveryByteTheSyntaxCannotHoldAndRoundTrips) {
  std::string everyByte;
  for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
  for (const std::string& text : {everyByte, std::string(" a b "), std::string("line\r\nbreak")}) {
    const std::string escaped = EscapeIniText(text);
    EXPECT_EQ(escaped.find_first_of("\r\n=[];#"), std::string::npos) << escaped;
    EXPECT_NE(escaped.front(), ' ');
    EXPECT_NE(escaped.back(), ' ');
    EXPECT_EQ(UnescapeIniText(escaped), text);
  }
  EXPECT_EQ(EscapeIniText("Hall L=1"), "Hall L\\x3D1");
  for (const char* bad : {"\\", "a\\x4", "\\y41", "\\xG1"}) EXPECT_FALSE(UnescapeIniText(bad)) << bad;
}

TEST(IniFormat, ReadsHandEditedFilesAndNamesTheFirstBadLine) {
  const IniParseResult ok = ParseIni(
      "; presets\r\n\r\n[Quorel Lumra Reverb]\r\n  My Hall =  0A0B \r\n# note\n[Preset]\nExists=1");
  ASSERT_EQ(ok.Error, "");
  ASSERT_NE(ok.Table.Find("Quorel Lumra Reverb", "My Hall"), nullptr);
  EXPECT_EQ(*ok.Table.Find("Quorel Lumra Reverb", "My Hall"), "0A0B");
  EXPECT_EQ(*ok.Table.Find("Preset", "Exists"), "1");

  const std::pair<const char*, const char*> bad[] = {
      {"[A]\nB=1\njunk\n", "line 3 "},
      {"B=1\n", "line 1 "},
      {"[A\n", "line 1 "},
      {"[A]\n=1\n", "line 2 "},
      {"[A]\nB=\\q\n", "line 2 "}};
  for (const auto& [text, where] : bad) {
    const IniParseResult result = ParseIni(text);
    EXPECT_EQ(result.Error.rfind(where, 0), 0u) << text << " -> " << result.Error;
  }
}

TEST_F(IniStoreTest, LivesUnderTheXdgConfigFolderAndKeepsNamesWithLineBreaks) {
  EXPECT_EQ(UserIniPath("Quorel Lumra Reverb"), path_);
  auto store = OpenUserStore("Quorel Lumra Reverb");
  store->WriteString("Quorel Lumra Reverb", "two\nlines", "AB");
  store->WriteString("Quorel Lumra Reverb", "x", "first\nsecond");
  EXPECT_EQ(store->ValueNames("Quorel Lumra Reverb"),
            (std::vector<std::string>{"two\nlines", "x"}));
  EXPECT_EQ(store->ReadString("Quorel Lumra Reverb", "x"), "first\nsecond");
  EXPECT_EQ(ReadFile(path_),
            "[Quorel Lumra Reverb]\ntwo\\x0Alines=AB\nx=first\\x0Asecond\n");

  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  ::setenv("XDG_CONFIG_HOME", "relative/path", 1);
  ::setenv("HOME", dir_.Path().c_str(), 1);
  EXPECT_EQ(UserIniPath("P"), dir_.Path() / ".config" / "Quorel" / "P.ini");
  ::setenv("HOME", home.c_str(), 1);
}

TEST_F(IniStoreTest, ReportsAnUnparsableFileAndNeverWritesOverIt) {
  IniFileStore store(path_);
  const std::string broken = "[Quorel Lumra Reverb]\nMy Hall=0A\nthis line is broken\n";
  WriteFile(path_, broken);
  try {
    store.ValueNames("Quorel Lumra Reverb");
    FAIL() << "no error";
  } catch (const StoreError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(path_.string()), std::string::npos) << message;
    EXPECT_NE(message.find("line 3"), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
  EXPECT_THROW(store.ReadString("Quorel Lumra Reverb", "My Hall"), StoreError);
  EXPECT_THROW(store.WriteString("Quorel Lumra Reverb", "New", "00"), StoreError);
  EXPECT_THROW(store.DeleteValue("Quorel Lumra Reverb", "My Hall"), StoreError);
  EXPECT_EQ(ReadFile(path_), broken);
}

TEST_F(IniStoreTest, ReplacesTheFileWholeAndKeepsItsPermissions) {
  IniFileStore store(path_);
  store.WriteString("S", "a", "1");
  ::chmod(path_.c_str(), 0600);
  struct stat before {};
  ASSERT_EQ(::stat(path_.c_str(), &before), 0);
  store.WriteString("S", "b", "2");
  struct stat after {};
  ASSERT_EQ(::stat(path_.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);  // a new file took the old one's place
  EXPECT_EQ(after.st_mode & 0777, 0600u);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(path_.parent_path()))
    files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"Quorel Lumra Reverb.ini",
                                             "Quorel Lumra Reverb.ini.lock"}));
}

TEST_F(IniStoreTest, TwoProcessesStoringAtOnceLoseNothing) {
  constexpr int perWriter = 40;
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = ::fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
      IniFileStore store(path_);
      for (int i = 0; i < perWriter; ++i)
        store.WriteString("Presets", "writer " + std::to_string(w) + " #" + std::to_string(i),
                          std::string(296, 'A' + static_cast<char>(w)));
      ::_exit(0);
    }
  }
  for (pid_t writer : writers) {
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  IniFileStore store(path_);
  EXPECT_EQ(store.ValueNames("Presets").size(), 2u * perWriter);
  EXPECT_EQ(store.ReadString("Presets", "writer 1 #39"), std::string(296, 'B'));
}

}  // namespace
}  // namespace lumra::test
