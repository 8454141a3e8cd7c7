// lreverb: the plug-in's engine on the command line.

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "tools/lreverb/demo.h"
#include "tools/lreverb/face_command.h"
#include "tools/lreverb/params_file.h"
#include "tools/lreverb/presets_command.h"
#include "tools/lreverb/render.h"

namespace {

using namespace lumra;

constexpr std::string_view Help = R"(lreverb: the Lumra Reverb engine on the command line

usage:
  lreverb render IN OUT [--params FILE | --preset NAME] [--block N] [--tail SECONDS]
      Reverberates IN (any format libsndfile reads, mono or stereo, any rate) through the
      plug-in's processing chain in blocks of N frames (default 512), appends SECONDS of
      silence (default: long enough to ring out) and writes OUT in IN's container, as float
      samples where it can hold them. --params takes a 148-byte parameter block or a text
      file of 296 hexadecimal digits; --preset a stored preset. Without either the plug-in's
      load-time settings are used.
  lreverb demo [DIR]
      Writes a built-in dry test signal to DIR/dry.wav (default DIR: out/demo) and renders
      it through the load-time settings and a few factory presets.
  lreverb presets [list | show NAME | store NAME --params FILE | delete NAME | export NAME FILE]
      Manages the presets stored for this user.
  lreverb face OUT.png [--params FILE | --preset NAME] [--picture paint|face|knob-sheet|power-lit]
               [--dragging I] [--power-pressed]
      Writes what the editor window shows as a PNG: by default one paint of it at the given
      settings (without --params or --preset: the load-time settings, Power on), value texts
      with the locale's decimal separator. --dragging I shows knob I (0-35) being turned,
      --power-pressed the Power switch held down. --picture face, knob-sheet or power-lit
      writes that picture as the editor builds it instead.
  lreverb --help
)";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

double ParseNumber(std::string_view option, const std::string& text, double low, double high) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(value >= low && value <= high))
    throw UsageError(std::string(option) + " needs a number from " + std::to_string(low) +
                     " to " + std::to_string(high) + ", not \"" + text + "\"");
  return value;
}

RenderJob ParseRender(const std::vector<std::string>& args) {
  RenderJob job;
  std::vector<std::string> files;
  std::optional<std::string> preset;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      return args[++i];
    };
    if (a == "--params") {
      if (preset || job.Params) throw UsageError("give --params or --preset once, not both");
      job.Params = ReadParamsFile(value());
    } else if (a == "--preset") {
      if (preset || job.Params) throw UsageError("give --params or --preset once, not both");
      preset = value();
    } else if (a == "--block") {
      job.Block = static_cast<std::int32_t>(ParseNumber(a, value(), 1, 1 << 20));
    } else if (a == "--tail") {
      job.TailSeconds = ParseNumber(a, value(), 0, 3600);
    } else if (a.starts_with("--")) {
      throw UsageError("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) throw UsageError("render needs an input and an output file");
  job.Input = files[0];
  job.Output = files[1];
  if (preset) {
    const PresetLookup found = FindPreset(*preset);
    if (!found.Block) throw std::runtime_error(found.Error);
    job.Params = found.Block;
  }
  job.Progress = isatty(STDERR_FILENO) != 0;
  return job;
}

int Run(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << Help;
    return args.empty() ? 2 : 0;
  }
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "render") {
    Render(ParseRender(rest));
  } else if (command == "demo") {
    if (rest.size() > 1) throw UsageError("demo takes at most one folder");
    RunDemo(rest.empty() ? "out/demo" : rest[0]);
  } else if (command == "presets") {
    return RunPresetsCommand(argc - 2, argv + 2);
  } else if (command == "face") {
    return RunFaceCommand(rest, std::cout, std::cerr);
  } else {
    throw UsageError("unknown command \"" + command + "\" (see lreverb --help)");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const UsageError& error) {
    std::cerr << "lreverb: " << error.what() << '\n';
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "lreverb: " << error.what() << '\n';
    return 1;
  }
}
