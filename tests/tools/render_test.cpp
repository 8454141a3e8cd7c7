#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "plugin/entry_points.h"
#include "presets/block_codec.h"
#include "tools/lreverb/params_file.h"
#include "tools/lreverb/render.h"

namespace lumra {
namespace {

namespace fs = std::filesystem;

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lreverb-render-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::string WriteSound(const std::string& name, int format, int channels, int rate,
                         const std::vector<float>& interleaved) const {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = rate;
    SNDFILE* f = sf_open(Path(name).c_str(), SFM_WRITE, &info);
    EXPECT_NE(f, nullptr) << sf_strerror(nullptr);
    sf_writef_float(f, interleaved.data(), static_cast<sf_count_t>(interleaved.size() / channels));
    sf_close(f);
    return Path(name);
  }

  static std::vector<float> ReadSound(const std::string& path, SF_INFO& info) {
    info = {};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(f, nullptr) << path;
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(f, samples.data(), info.frames);
    sf_close(f);
    return samples;
  }

  static std::vector<float> Signal(std::size_t n) {
    std::vector<float> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<float>((i * 7919) % 2001) / 4000.0f - 0.25f;
    return v;
  }

  fs::path dir_;
};

TEST_F(RenderTest, StereoFloatWavIsTheEngineOutputBitForBitWithItsTail) {
  const std::vector<float> dry = Signal(2 * 10000);
  RenderJob job;
  job.Input = WriteSound("in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, dry);
  job.Output = Path("out.wav");
  job.Block = 300;
  job.TailSeconds = 0.5;
  Render(job);

  SF_INFO info;
  const std::vector<float> wet = ReadSound(job.Output, info);
  EXPECT_EQ(info.format, SF_FORMAT_WAVEX | SF_FORMAT_FLOAT);
  EXPECT_EQ(info.samplerate, 48000);
  ASSERT_EQ(info.frames, 10000 + 24000);

  // The same blocks straight through the entry points.
  plugin::LoadLibraryInstance();
  std::vector<float> expected = dry;
  expected.resize(2 * 34000, 0.0f);
  for (std::int32_t at = 0; at < 34000; at += 300)
    plugin::PostWaveData(expected.data() + 2 * at, 48000, 2, std::min(300, 34000 - at));
  plugin::Destroy();
  EXPECT_EQ(wet, expected);
}

TEST_F(RenderTest, MonoFlacKeepsItsContainerAndRingsOutByDefault) {
  RenderJob job;
  job.Input = WriteSound("in.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 22050, Signal(5000));
  job.Output = Path("out.flac");
  Render(job);
  SF_INFO info;
  const std::vector<float> wet = ReadSound(job.Output, info);
  EXPECT_EQ(info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  EXPECT_EQ(info.channels, 1);
  ParamBlock loadTime;
  plugin::LoadLibraryInstance();
  void* live = nullptr;
  std::int32_t size = 0;
  plugin::GetData(&live, &size);
  std::memcpy(&loadTime, live, sizeof loadTime);
  plugin::Destroy();
  EXPECT_EQ(info.frames, 5000 + static_cast<sf_count_t>(std::ceil(RingOutSeconds(loadTime) * 22050)));
}

TEST_F(RenderTest, FailuresLeaveNoOutputBehind) {
  const std::string existing = Path("existing.wav");
  std::ofstream(existing) << "keep me";
  RenderJob job;
  job.Input = Path("missing.wav");
  job.Output = existing;
  EXPECT_THROW(Render(job), std::runtime_error);

  job.Input = WriteSound("three.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 3, 44100, Signal(300));
  EXPECT_THROW(Render(job), std::runtime_error);

  job.Input = WriteSound("ok.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 44100, Signal(300));
  job.Output = Path("no-such-folder/out.wav");
  EXPECT_THROW(Render(job), std::runtime_error);

  std::ifstream kept(existing);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
  for (const auto& entry : fs::directory_iterator(dir_))
    EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();
}

TEST_F(RenderTest, ParamsFilesAreBinaryBlocksOrHexText) {
  ParamBlock block{};
  block.Values[0] = 0.25f;
  block.Power = 1;
  const std::string binary = Path("block.bin");
  std::ofstream(binary, std::ios::binary).write(reinterpret_cast<const char*>(&block), sizeof block);
  EXPECT_EQ(ReadParamsFile(binary).Values[0], 0.25f);

  std::string hex = EncodeBlock({reinterpret_cast<const std::uint8_t*>(&block), sizeof block});
  for (auto& c : hex) c = static_cast<char>(std::tolower(c));
  const std::string text = Path("block.txt");
  std::ofstream(text) << hex.substr(0, 100) << "\n  " << hex.substr(100) << "\n";
  EXPECT_EQ(ReadParamsFile(text).Power, 1);

  const std::string shortText = Path("short.txt");
  std::ofstream(shortText) << hex.substr(0, 294);
  EXPECT_THROW(ReadParamsFile(shortText), std::runtime_error);
  const std::string junk = Path("junk.txt");
  std::ofstream(junk) << hex.substr(0, 290) << "zzzzzz";
  EXPECT_THROW(ReadParamsFile(junk), std::runtime_error);
  EXPECT_THROW(ReadParamsFile(Path("absent")), std::runtime_error);
}

TEST_F(RenderTest, CommandLineErrorsAreOneLineAndNonZero) {
  const std::string err = Path("err.txt");
  const auto run = [&](const std::string& args) {
    const int status = std::system((std::string(LREVERB_TOOL) + " " + args + " 2>" + err + " >/dev/null").c_str());
    std::ifstream in(err);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << args << ": " << text;
    EXPECT_EQ(text.rfind("lreverb", 0), 0u) << text;
    return WEXITSTATUS(status);
  };
  EXPECT_EQ(run("render " + Path("missing.wav") + " " + Path("out.wav")), 1);
  EXPECT_EQ(run("render only-one-file.wav"), 2);
  EXPECT_EQ(run("render a.wav b.wav --block 0"), 2);
  EXPECT_EQ(run("render a.wav b.wav --tail -1"), 2);
  EXPECT_EQ(run("frobnicate"), 2);
  EXPECT_FALSE(fs::exists(Path("out.wav")));
}

}  // namespace
}  // namespace lumra
