#include "tools/lreverb/presets_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "presets/block_codec.h"
#include "presets/factory_presets.h"
#include "presets/ini_store_posix.h"
#include "temp_config_dir.h"

namespace lumra::test {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class PresetsCommandTest : public ::testing::Test {
 protected:
  Outcome Run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunPresetsCommand(args, out, err);
    return {status, out.str(), err.str()};
  }
  std::string File(const std::string& name) const { return (dir_.Path() / name).string(); }
  std::string Stored(std::string_view name) {
    return IniFileStore(UserIniPath(ProductName)).ReadString(PresetSection, name, "<missing>");
  }

  TempConfigDir dir_;
};

// An error is one line naming the problem, with a non-zero status and nothing on stdout.
void ExpectError(const Outcome& result, std::string_view mentions) {
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(mentions), std::string::npos) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

TEST_F(PresetsCommandTest, FirstUseInstallsTheFactoryPresetsAndListsThem) {
  const Outcome listed = Run({});
  ASSERT_EQ(listed.status, 0) << listed.err;
  std::string expected;
  for (const FactoryPreset& preset : FactoryPresets) expected += "factory  " + std::string(preset.Name) + '\n';
  EXPECT_EQ(listed.out, expected);
  EXPECT_EQ(Run({"list"}).out, expected);
  EXPECT_EQ(IniFileStore(UserIniPath(ProductName)).ReadString(FlagSection, FlagValue), "1");
}

TEST_F(PresetsCommandTest, ShowPrintsEveryValueWithItsPanelAndLabel) {
  const Outcome shown = Run({"show", "06_hall l"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(std::count(shown.out.begin(), shown.out.end(), '\n'), 38);
  EXPECT_NE(shown.out.find(" 0  Reverb           Rev. Time  0.2975  3.0s\n"), std::string::npos)
      << shown.out;
  EXPECT_NE(shown.out.find("35  Diffuse          Gain Y     0.8943  79%\n"), std::string::npos);
  EXPECT_NE(shown.out.find("Power                       on\n"), std::string::npos);
}

TEST_F(PresetsCommandTest, ExportStoreAndDeleteRoundTripTheBlock) {
  ASSERT_EQ(Run({"export", "02_Church", File("church.bin")}).status, 0);
  std::ifstream in(File("church.bin"), std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(EncodeBlock(bytes), FactoryPresets[2].Text);

  ASSERT_EQ(Run({"store", "My Room = big", "--params", File("church.bin")}).status, 0);
  EXPECT_EQ(Stored("My Room = big"), FactoryPresets[2].Text);
  ASSERT_EQ(Run({"delete", "my room = BIG"}).status, 0);
  EXPECT_EQ(Stored("My Room = big"), "<missing>");
}

TEST_F(PresetsCommandTest, RefusesBadNamesFilesAndCommandsInOneLine) {
  std::ofstream(File("short.bin"), std::ios::binary) << std::string(147, '\0');
  ExpectError(Run({"show", "Hal M"}), "no preset named \"Hal M\"; closest: \"07_Hall M\"");
  ExpectError(Run({"delete", "Studio"}), "closest: \"13_Studio\"");
  ExpectError(Run({"export", "nope", File("x.bin")}), "no preset named \"nope\"");
  ExpectError(Run({"store", "", "--params", File("short.bin")}), "needs a name");
  ExpectError(Run({"store", "A", "B", "--params", File("short.bin")}), "unexpected argument \"B\"");
  ExpectError(Run({"store", "A", "--params", File("short.bin")}), "neither a 148-byte parameter block");
  ExpectError(Run({"store", "A", "--params", File("missing.bin")}), "No such file");
  ExpectError(Run({"store", "A", File("short.bin")}), "unexpected argument");
  ExpectError(Run({"rename", "A"}), "unknown presets command \"rename\"");
  EXPECT_EQ(Stored("A"), "<missing>");
  EXPECT_FALSE(std::filesystem::exists(File("x.bin")));
}

TEST_F(PresetsCommandTest, ResolvesNamesForRenderingAndRejectsPartialBlocks) {
  const PresetLookup found = FindPreset("12_Room");
  ASSERT_TRUE(found.Block) << found.Error;
  EXPECT_EQ(found.Block->Power, 1);
  EXPECT_NEAR(found.Block->Values[0], 0.1155, 0.00005);

  IniFileStore(UserIniPath(ProductName)).WriteString(PresetSection, "cut", std::string(294, 'A'));
  const PresetLookup cut = FindPreset("cut");
  EXPECT_FALSE(cut.Block);
  EXPECT_NE(cut.Error.find("147 bytes"), std::string::npos) << cut.Error;
}

TEST_F(PresetsCommandTest, ReportsABrokenPresetsFileAndLeavesIt) {
  const auto path = UserIniPath(ProductName);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << "[Quorel Lumra Reverb]\ngarbage\n";
  ExpectError(Run({"list"}), "cannot be parsed (line 2");
  ExpectError(Run({"store", "x", "--params", File("none.bin")}), "No such file");
  EXPECT_FALSE(FindPreset("00_Default").Block);
  std::ifstream in(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[Quorel Lumra Reverb]\ngarbage\n");
}

}  // namespace
}  // namespace lumra::test
