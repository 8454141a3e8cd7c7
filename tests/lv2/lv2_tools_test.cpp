// The bundle through the distribution's LV2 tools: lv2apply renders exactly what lreverb render
// does, lv2info lists the ports and presets as the face names them.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "editor/value_text.h"
#include "lilv_host.h"
#include "lv2/ttl/port_names.h"
#include "presets/factory_presets.h"

namespace lumra::lv2 {
namespace {

namespace fs = std::filesystem;

fs::path TempDir() {
  const fs::path dir = fs::temp_directory_path() / ("lreverb-lv2-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

void WriteWav(const fs::path& path, const Audio& audio, int rate) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = static_cast<int>(audio.size());
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  std::vector<float> frames;
  for (std::size_t i = 0; i < audio[0].size(); ++i)
    for (const auto& channel : audio) frames.push_back(channel[i]);
  sf_writef_float(file, frames.data(), static_cast<sf_count_t>(audio[0].size()));
  sf_close(file);
}

std::vector<float> ReadSamples(const fs::path& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return {};
  std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_float(file, samples.data(), info.frames);
  sf_close(file);
  return samples;
}

std::string Output(const std::string& command) {
  std::string text;
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) text += buffer;
  return text;
}

struct ApplyCase {
  std::string_view Uri;
  int Channels, Rate;
  std::string_view Preset;  // empty: the load-time settings
};

TEST(Lv2Apply, RendersExactlyAsTheRenderer) {
  const fs::path dir = TempDir();
  for (const ApplyCase& c :
       {ApplyCase{StereoUri, 2, 44100, ""}, ApplyCase{StereoUri, 2, 48000, "02_Church"},
        ApplyCase{StereoUri, 2, 44100, "06_Hall L"}, ApplyCase{StereoUri, 2, 48000, "11_Plate"},
        ApplyCase{MonoUri, 1, 44100, ""}, ApplyCase{MonoUri, 1, 48000, "12_Room"}}) {
    const std::string what = std::string(c.Uri) + " " + std::string(c.Preset);
    const fs::path in = dir / "in.wav", expected = dir / "expected.wav",
                   applied = dir / "applied.wav";
    WriteWav(in, Noise(c.Channels, static_cast<std::size_t>(c.Rate), 9), c.Rate);
    std::string render = std::string(LREVERB_TOOL) + " render " + in.string() + " " +
                         expected.string() + " --tail 0";
    std::string apply = std::string(LV2APPLY) + " -i " + in.string() + " -o " + applied.string();
    if (!c.Preset.empty()) {
      const ParamBlock block = FactoryBlock(c.Preset);
      std::ofstream(dir / "preset.bin", std::ios::binary)
          .write(reinterpret_cast<const char*>(&block), sizeof block);
      render += " --params " + (dir / "preset.bin").string();
      for (int i = 0; i < KnobCount; ++i) {
        char value[32];
        std::snprintf(value, sizeof value, "%.9g", static_cast<double>(block.Values[i]));
        apply += " -c " + KnobPortSymbol(i) + " " + value;
      }
    }
    apply.append(" ").append(c.Uri);
    ASSERT_EQ(std::system(render.c_str()), 0) << render;
    ASSERT_EQ(std::system(apply.c_str()), 0) << apply;
    const std::vector<float> want = ReadSamples(expected), got = ReadSamples(applied);
    ASSERT_EQ(got.size(), static_cast<std::size_t>(c.Rate * c.Channels)) << what;
    ASSERT_TRUE(got == want) << what;
  }
  fs::remove_all(dir);
}

TEST(Lv2Info, ListsPortsGroupsAndPresetsAsTheFaceNamesThem) {
  for (const std::string_view uri : {StereoUri, MonoUri}) {
    const std::string info = Output(std::string(LV2INFO) + " " + std::string(uri));
    EXPECT_NE(info.find("Has latency:       no"), std::string::npos) << info;
    for (int i = 0; i < KnobCount; ++i) {
      const std::string port = "\tPort " + std::to_string(i) + ":";
      const std::size_t at = info.find(port), end = info.find("\tPort ", at + 1);
      ASSERT_NE(at, std::string::npos) << port;
      const std::string entry = info.substr(at, end - at);
      EXPECT_NE(entry.find("Name:        " + KnobPortName(i)), std::string::npos) << entry;
      EXPECT_NE(entry.find("Symbol:      " + KnobPortSymbol(i) + "\n"), std::string::npos) << entry;
      EXPECT_NE(
          entry.find("Group:       " + std::string(StereoUri) + ":panel:" + PanelSymbol(i / 6)),
          std::string::npos);
      EXPECT_NE(entry.find(" = \"" + editor::ValueText(i, LoadValues[i]) + "\""), std::string::npos)
          << entry;
      char defaultValue[32];
      std::snprintf(defaultValue, sizeof defaultValue, "Default:     %f",
                    static_cast<double>(LoadValues[i]));
      EXPECT_NE(entry.find(defaultValue), std::string::npos) << entry;
    }
    const std::size_t last =
        info.find("\tPort " + std::to_string(PortCount(uri == MonoUri ? 1 : 2) - 1) + ":");
    EXPECT_NE(last, std::string::npos);
    for (const FactoryPreset& preset : FactoryPresets) {
      std::string line(" ");
      line += preset.Name;
      EXPECT_NE(info.find(line += "\n"), std::string::npos) << preset.Name;
    }
  }
}

TEST(Lv2Info, PowerIsTheEnabledPort) {
  LilvWorld* world = TestHost::Get().World();
  LilvNode* input = lilv_new_uri(world, LILV_URI_INPUT_PORT);
  LilvNode* enabled = lilv_new_uri(world, "http://lv2plug.in/ns/lv2core#enabled");
  for (const std::string_view uri : {StereoUri, MonoUri}) {
    const LilvPort* power =
        lilv_plugin_get_port_by_designation(TestHost::Get().Plugin(uri), input, enabled);
    ASSERT_NE(power, nullptr);
    EXPECT_EQ(lilv_port_get_index(TestHost::Get().Plugin(uri), power), port::Power);
    EXPECT_FALSE(lilv_plugin_has_latency(TestHost::Get().Plugin(uri)));
  }
  lilv_node_free(enabled);
  lilv_node_free(input);
}

}  // namespace
}  // namespace lumra::lv2
