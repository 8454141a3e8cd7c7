#include "tools/lreverb/demo.h"

#include <cstring>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include "presets/block_codec.h"
#include "presets/factory_presets.h"
#include "tools/demo_signal/demo_signal.h"
#include "tools/lreverb/render.h"
#include "tools/lreverb/sound_file.h"

namespace lumra {
namespace {

constexpr std::string_view DemoPresets[] = {"12_Room", "06_Hall L", "11_Plate", "02_Church"};

ParamBlock FactoryBlock(std::string_view name) {
  for (const FactoryPreset& preset : FactoryPresets) {
    if (preset.Name != name) continue;
    const std::vector<std::uint8_t> bytes = DecodeBlock(preset.Text);
    ParamBlock block;
    std::memcpy(&block, bytes.data(), sizeof block);
    return block;
  }
  throw std::runtime_error("no factory preset named \"" + std::string(name) + "\"");
}

std::string FileName(std::string_view preset) {
  std::string name(preset);
  for (char& c : name)
    if (c == ' ') c = '-';
  return "wet-" + name + ".wav";
}

}  // namespace

void RunDemo(const std::string& directory) {
  const std::filesystem::path dir = std::filesystem::absolute(directory);
  std::filesystem::create_directories(dir);

  const StereoSignal dry = MakeDemoSignal();
  std::vector<float> interleaved;
  for (std::size_t i = 0; i < dry.Left.size(); ++i) {
    interleaved.push_back(dry.Left[i]);
    interleaved.push_back(dry.Right[i]);
  }
  const std::string dryPath = (dir / "dry.wav").string();
  AtomicSoundWriter writer(dryPath, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, dry.SampleRate);
  writer.Write(interleaved);
  writer.Commit();
  std::cout << "dry:                 " << dryPath << '\n';

  RenderJob job;
  job.Input = dryPath;
  job.Output = (dir / "wet-load-time.wav").string();
  Render(job);
  std::cout << "wet, load-time:      " << job.Output << '\n';
  for (std::string_view preset : DemoPresets) {
    job.Params = FactoryBlock(preset);
    job.Output = (dir / FileName(preset)).string();
    Render(job);
    std::cout << "wet, " << preset << ":" << std::string(15 - preset.size(), ' ') << job.Output
              << '\n';
  }
}

}  // namespace lumra
