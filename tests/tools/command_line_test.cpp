// lreverb as a user runs it: the built program, in a scratch folder, with a private config folder.

#include <gtest/gtest.h>
#include <sndfile.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "plugin/param_block.h"
#include "presets/block_codec.h"
#include "tests/presets/temp_config_dir.h"

extern char** environ;

namespace lumra::test {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int Status;
  std::string Out, Err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::size_t Lines(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

class CommandLineTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return (config_.Path() / name).string(); }

  // Starts lreverb in the scratch folder, its output and errors going to files there.
  pid_t Start(const std::vector<std::string>& args) const {
    std::vector<std::string> argv{LREVERB_TOOL};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, config_.Path().c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, File("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, File("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, LREVERB_TOOL, &actions, nullptr, pointers.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  Outcome Run(const std::vector<std::string>& args) const {
    int status = 0;
    waitpid(Start(args), &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(File("stdout")), ReadAll(File("stderr"))};
  }

  // A stereo float WAV at 48 kHz of n frames, the signal scaled by gain.
  std::string Sound(const std::string& name, int frames, float gain = 0.5f) const {
    std::vector<float> samples(2 * static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = gain * std::sin(0.01f * static_cast<float>(i));
    SF_INFO info{};
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    info.channels = 2;
    info.samplerate = 48000;
    SNDFILE* f = sf_open(File(name).c_str(), SFM_WRITE, &info);
    sf_writef_float(f, samples.data(), frames);
    sf_close(f);
    return File(name);
  }

  std::string Block(const std::string& name, const ParamBlock& block) const {
    std::ofstream(File(name), std::ios::binary).write(reinterpret_cast<const char*>(&block), sizeof block);
    return File(name);
  }

  static int FormatOf(const std::string& path) {
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (f != nullptr) sf_close(f);
    return info.format;
  }

  bool TemporaryFilesLeft() const {
    for (const auto& entry : fs::directory_iterator(config_.Path()))
      if (entry.path().filename().string().find(".tmp-") != std::string::npos) return true;
    return false;
  }

  TempConfigDir config_;  // scratch files and a private preset store
};

TEST_F(CommandLineTest, EveryCommandHasHelpAndTheConventionsHold) {
  for (const char* command : {"render", "demo", "presets", "face"}) {
    const Outcome help = Run({command, "--help"});
    EXPECT_EQ(help.Status, 0) << command;
    EXPECT_EQ(help.Out.rfind(std::string("usage: lreverb ") + command, 0), 0u) << help.Out;
  }
  EXPECT_EQ(Run({"presets", "store", "--help"}).Status, 0);
  EXPECT_FALSE(fs::exists(File("--help")));
  EXPECT_EQ(Run({"--version"}).Out.rfind("lreverb ", 0), 0u);

  const std::string in = Sound("in.wav", 1000);
  EXPECT_EQ(Run({"render", in, File("eq.wav"), "--tail=0", "--block=64"}).Status, 0);
  const struct {
    std::vector<std::string> Args;
    int Status;
    const char* Says;
  } errors[] = {
      {{"render", in, "a.wav", "extra.wav"}, 2, "unexpected argument \"extra.wav\""},
      {{"render", in, "a.wav", "--block", "1.5"}, 2, "from 1 to 1048576, not \"1.5\""},
      {{"render", in, "a.wav", "--tail", "-1"}, 2, "from 0 to 3600"},
      {{"render", in, "a.wav", "--dry", "101"}, 2, "from 0 to 100"},
      {{"render", in, "a.wav", "--format", "xyz"}, 2, "--format takes one of"},
      {{"render", in, "a.wav", "--params", config_.Path().string()}, 1, "it is a folder"},
      {{"demo", File("eq.wav") + "/sub"}, 1, "cannot create the folder"},
      {{"face", File("eq.wav") + "/x.png"}, 1, "cannot write"},
      {{"frobnicate"}, 2, "unknown command"},
  };
  for (const auto& e : errors) {
    const Outcome outcome = Run(e.Args);
    EXPECT_EQ(outcome.Status, e.Status) << e.Says;
    EXPECT_NE(outcome.Err.find(e.Says), std::string::npos) << outcome.Err;
    EXPECT_EQ(Lines(outcome.Err), 1u) << outcome.Err;
    EXPECT_EQ(outcome.Err.find("error:"), std::string::npos) << outcome.Err;  // no C++ library texts
  }
  EXPECT_FALSE(fs::exists(File("a.wav")));
}

TEST_F(CommandLineTest, TheInputIsNeverTheOutputAndLinksAreWrittenThrough) {
  const std::string in = Sound("in.wav", 2000);
  const std::string dry = ReadAll(in);
  fs::create_directory(File("sub"));
  fs::create_symlink(in, File("link.wav"));
  fs::create_hard_link(in, File("hard.wav"));
  for (const std::string& out : {File("link.wav"), File("hard.wav"), File("sub/../in.wav"), std::string("in.wav")}) {
    const Outcome outcome = Run({"render", in, out});
    EXPECT_EQ(outcome.Status, 1) << out;
    EXPECT_NE(outcome.Err.find("is the input file"), std::string::npos) << outcome.Err;
  }
  EXPECT_EQ(ReadAll(in), dry);

  std::ofstream(File("older.wav")) << "older";
  fs::create_symlink("older.wav", File("out-link.wav"));
  ASSERT_EQ(Run({"render", in, File("out-link.wav"), "--tail", "0"}).Status, 0);
  EXPECT_TRUE(fs::is_symlink(File("out-link.wav")));
  EXPECT_EQ(ReadAll(File("older.wav")).substr(0, 4), "RIFF");
  EXPECT_FALSE(TemporaryFilesLeft());
}

TEST_F(CommandLineTest, ASignalDuringARenderRemovesTheTemporaryFile) {
  const std::string in = Sound("in.wav", 1000);
  const pid_t render = Start({"render", in, File("long.wav"), "--tail", "3600"});
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!TemporaryFilesLeft() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(TemporaryFilesLeft());
  kill(render, SIGTERM);
  int status = 0;
  waitpid(render, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_FALSE(TemporaryFilesLeft());
  EXPECT_FALSE(fs::exists(File("long.wav")));
}

TEST_F(CommandLineTest, ShortInputsClippingAndImpossibleValuesAreReported) {
  const std::string cut = Sound("cut.wav", 20000);
  fs::resize_file(cut, fs::file_size(cut) - 8 * 5000);
  Outcome outcome = Run({"render", cut, File("out.wav"), "--tail", "0"});
  EXPECT_EQ(outcome.Status, 0);
  EXPECT_NE(outcome.Err.find("header promises 20000 frames, it holds 15000"), std::string::npos) << outcome.Err;
  EXPECT_EQ(Lines(outcome.Err), 1u);

  const std::string loud = Sound("loud.wav", 20000, 0.999f);
  outcome = Run({"render", loud, File("loud.flac"), "--dry", "100"});
  EXPECT_EQ(outcome.Status, 0);
  EXPECT_NE(outcome.Err.find("samples were clipped"), std::string::npos) << outcome.Err;
  EXPECT_GT(std::atol(outcome.Err.substr(outcome.Err.find("warning: ") + 9).c_str()), 0);
  outcome = Run({"render", loud, File("loud-float.wav"), "--dry", "100"});  // float: kept as it is
  EXPECT_EQ(outcome.Err, "");

  ParamBlock nan;
  std::memset(static_cast<void*>(&nan), 0xFF, sizeof nan);
  ParamBlock negative = LoadTimeBlock();
  negative.Values.fill(-5.0f);
  const std::string nanFile = Block("nan.bin", nan), negativeFile = Block("negative.bin", negative);
  outcome = Run({"render", loud, File("nan.wav"), "--params", nanFile, "--tail", "0"});
  EXPECT_EQ(outcome.Status, 0);
  EXPECT_NE(outcome.Err.find("knobs 0-35 are not a number (taken as 0)"), std::string::npos) << outcome.Err;
  outcome = Run({"render", loud, File("neg.wav"), "--params", negativeFile, "--tail", "0"});
  EXPECT_NE(outcome.Err.find("knobs 0-35 are -5 (taken as 0)"), std::string::npos) << outcome.Err;
  for (const std::string& file : {nanFile, negativeFile}) {
    outcome = Run({"presets", "store", "bad", "--params", file});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_NE(outcome.Err.find("not storing \"bad\": knobs 0-35 are"), std::string::npos) << outcome.Err;
  }
  EXPECT_EQ(Run({"presets", "show", "bad"}).Status, 1);
}

TEST_F(CommandLineTest, FormatsFollowTheExtensionAndRepeatRendersAreIdentical) {
  const std::string in = Sound("in.wav", 4000);
  const struct {
    const char* Name;
    int Format;
  } outputs[] = {
      {"out.wav", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT},
      {"out.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
      {"out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
      {"out.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
  };
  for (const auto& output : outputs) {
    ASSERT_EQ(Run({"render", in, File(output.Name), "--tail", "0.2"}).Status, 0) << output.Name;
    const std::string first = ReadAll(File(output.Name));
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // a time stamp would change
    ASSERT_EQ(Run({"render", in, File(output.Name), "--tail", "0.2"}).Status, 0);
    EXPECT_EQ(ReadAll(File(output.Name)), first) << output.Name;
    EXPECT_EQ(FormatOf(File(output.Name)), output.Format) << output.Name;
  }
  ASSERT_EQ(Run({"render", in, File("named.bin"), "--tail", "0.2", "--format", "flac"}).Status, 0);
  EXPECT_EQ(FormatOf(File("named.bin")), SF_FORMAT_FLAC | SF_FORMAT_PCM_24);

  const Outcome piped = Run({"render", in, "-", "--tail", "0.2", "--format", "aiff"});
  EXPECT_EQ(piped.Status, 0);
  EXPECT_EQ(piped.Out, ReadAll(File("out.aiff")));
  ASSERT_EQ(Run({"presets", "export", "12_Room", "-"}).Out.size(), ParamBlockSize);
}

TEST_F(CommandLineTest, DryAndWetSetTheLevelKnobsOfThisRenderOnly) {
  const std::string in = Sound("in.wav", 3000);
  ASSERT_EQ(Run({"presets", "export", "06_Hall L", File("hall.bin")}).Status, 0);
  ParamBlock expected;
  std::ifstream(File("hall.bin"), std::ios::binary).read(reinterpret_cast<char*>(&expected), sizeof expected);
  expected.Values[knob::DryLevel] = 0.5f;
  expected.Values[knob::WetLevel] = 0.25f;
  ASSERT_EQ(Run({"render", in, File("mixed.wav"), "--preset", "06_hall l", "--dry", "50", "--wet=25"}).Status, 0);
  ASSERT_EQ(Run({"render", in, File("expected.wav"), "--params", Block("mix.bin", expected)}).Status, 0);
  EXPECT_EQ(ReadAll(File("mixed.wav")), ReadAll(File("expected.wav")));
  ASSERT_EQ(Run({"render", in, File("plain.wav"), "--preset", "06_Hall L"}).Status, 0);
  EXPECT_NE(ReadAll(File("plain.wav")), ReadAll(File("mixed.wav")));
  const Outcome shown = Run({"presets", "show", "06_Hall L"});
  EXPECT_NE(shown.Out.find("Dry Level  0.0000  0%\n"), std::string::npos) << shown.Out;
}

TEST_F(CommandLineTest, PresetNamesAreCheckedMatchedInAnyCaseAndListedAsStored) {
  ASSERT_EQ(Run({"presets", "export", "02_Church", File("church.bin")}).Status, 0);
  for (const std::string& name : {std::string("   "), std::string("a\tb"), std::string("line\nbreak")}) {
    const Outcome refused = Run({"presets", "store", name, "--params", File("church.bin")});
    EXPECT_EQ(refused.Status, 2);
    EXPECT_EQ(Lines(refused.Err), 1u) << refused.Err;
  }
  ASSERT_EQ(Run({"presets", "store", " Été Σοφία ", "--params", File("church.bin")}).Status, 0);
  ASSERT_EQ(Run({"presets", "store", "ÉTÉ ΣΟΦΊΑ", "--params=" + File("church.bin")}).Status, 0);
  const Outcome listed = Run({"presets"});
  EXPECT_NE(listed.Out.find("factory  02_Church\n"), std::string::npos) << listed.Out;
  EXPECT_NE(listed.Out.find("user     Été Σοφία\n"), std::string::npos) << listed.Out;
  EXPECT_EQ(Lines(listed.Out), 15u) << listed.Out;
  EXPECT_EQ(Run({"presets", "show", "été σοφίας"}).Status, 1);
  const Outcome shown = Run({"presets", "show", "été σοφία"});
  EXPECT_EQ(shown.Out.rfind("Preset \"Été Σοφία\"\n", 0), 0u) << shown.Out;
  for (const char* text : {"Rev. Time  0.4422  4.4s\n", "HPF Freq.  0.2377  1.1kHz\n", "Wet Gain   0.5546  2.0db\n"})
    EXPECT_NE(shown.Out.find(text), std::string::npos) << text;
  EXPECT_EQ(Run({"presets", "delete", "ÉTÉ σοφία"}).Status, 0);
  EXPECT_EQ(Lines(Run({"presets"}).Out), 14u);
}

TEST_F(CommandLineTest, AConfigFolderThatCannotBeWrittenStillGivesTheFactoryPresets) {
  std::ofstream(config_.Path() / "Quorel") << "a file where the folder would go";
  const Outcome listed = Run({"presets"});
  EXPECT_EQ(listed.Status, 0) << listed.Err;
  EXPECT_EQ(Lines(listed.Out), 14u);
  EXPECT_EQ(listed.Out.rfind("factory  00_Default\n", 0), 0u);
  EXPECT_EQ(Run({"render", Sound("in.wav", 1000), File("out.wav"), "--preset", "11_Plate"}).Status, 0);
  for (const std::vector<std::string>& change :
       {std::vector<std::string>{"store", "mine", "--params", File("none.bin")}, {"delete", "11_Plate"}}) {
    std::vector<std::string> args{"presets"};
    args.insert(args.end(), change.begin(), change.end());
    const Outcome failed = Run(args);
    EXPECT_EQ(failed.Status, 1);
    EXPECT_EQ(Lines(failed.Err), 1u) << failed.Err;
  }
}

}  // namespace
}  // namespace lumra::test
