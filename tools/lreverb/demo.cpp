#include "tools/lreverb/demo.h"

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "presets/factory_presets.h"
#include "tools/demo_signal/demo_signal.h"
#include "tools/lreverb/command_line.h"
#include "tools/lreverb/output_file.h"
#include "tools/lreverb/render.h"
#include "tools/lreverb/sound_file.h"

namespace lumra {
namespace {

constexpr std::string_view DemoPresets[] = {"12_Room", "06_Hall L", "11_Plate", "02_Church"};

ParamBlock FactoryBlock(std::string_view name) {
  if (const std::optional<ParamBlock> block = FindFactoryBlock(name)) return *block;
  throw std::runtime_error("no factory preset named \"" + std::string(name) + "\"");
}

std::string FileName(std::string_view preset) {
  std::string name(preset);
  for (char& c : name)
    if (c == ' ') c = '-';
  return "wet-" + name + ".wav";
}

constexpr std::string_view Help = R"(usage: lreverb demo [DIR]
  Writes a built-in dry test signal (a few seconds of percussive hits and tonal material,
  stereo, 44.1 kHz) to DIR/dry.wav (default DIR: out/demo) and renders it through the load-time
  settings and the factory presets "12_Room", "06_Hall L", "11_Plate" and "02_Church" beside it.
)";

}  // namespace

void RunDemo(const std::string& directory, std::ostream& out) {
  std::error_code ec;
  const std::filesystem::path dir = std::filesystem::absolute(directory, ec);
  if (!ec) std::filesystem::create_directories(dir, ec);
  if (ec) throw std::runtime_error("cannot create the folder " + Quote(directory) + ": " + ec.message());

  const StereoSignal dry = MakeDemoSignal();
  std::vector<float> interleaved;
  for (std::size_t i = 0; i < dry.Left.size(); ++i) {
    interleaved.push_back(dry.Left[i]);
    interleaved.push_back(dry.Right[i]);
  }
  const std::string dryPath = (dir / "dry.wav").string();
  OutputFile dryFile(dryPath);
  SoundWriter writer(dryFile.Temporary(), dryPath, SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, 2, dry.SampleRate);
  writer.Write(interleaved);
  writer.Finish();
  dryFile.Commit();
  out << "dry:                 " << dryPath << '\n';

  RenderJob job;
  job.Input = dryPath;
  job.Output = (dir / "wet-load-time.wav").string();
  Render(job);
  out << "wet, load-time:      " << job.Output << '\n';
  for (std::string_view preset : DemoPresets) {
    job.Params = FactoryBlock(preset);
    job.Output = (dir / FileName(preset)).string();
    Render(job);
    out << "wet, " << preset << ":" << std::string(15 - preset.size(), ' ') << job.Output
              << '\n';
  }
}

int RunDemoCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunReportingErrors("lreverb demo", err, [&] {
    const ParsedArguments parsed = ParseArguments(args, {});
    if (parsed.Help) {
      out << Help;
      return 0;
    }
    if (parsed.Operands.size() > 1) throw UsageError("unexpected argument " + Quote(parsed.Operands[1]) + "; demo takes one folder");
    RunDemo(parsed.Operands.empty() ? "out/demo" : parsed.Operands[0], out);
    return 0;
  });
}

}  // namespace lumra
