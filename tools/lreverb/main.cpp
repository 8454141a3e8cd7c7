// lreverb: the plug-in's engine on the command line.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/lreverb/command_line.h"
#include "tools/lreverb/demo.h"
#include "tools/lreverb/face_command.h"
#include "tools/lreverb/presets_command.h"
#include "tools/lreverb/render_command.h"

namespace {

using namespace lumra;

constexpr std::string_view Help = R"(lreverb: the Lumra Reverb engine on the command line

usage:
  lreverb render IN OUT [--params FILE | --preset NAME] [--dry PERCENT] [--wet PERCENT]
                        [--block N] [--tail SECONDS] [--format NAME]
      Reverberates IN (any format libsndfile reads, mono or stereo, any rate) through the
      plug-in's engine and writes OUT, in the format its extension names.
  lreverb demo [DIR]
      Writes a built-in dry test signal to DIR/dry.wav (default DIR: out/demo) and renders
      it through the load-time settings and a few factory presets.
  lreverb presets [list | show NAME | store NAME --params FILE | delete NAME | export NAME FILE]
      Manages the presets stored for this user.
  lreverb face OUT.png [--params FILE | --preset NAME] [--picture paint|face|knob-sheet|power-lit]
               [--dragging I] [--power-pressed]
      Writes what the editor window shows as a PNG.
  lreverb COMMAND --help   the options of one command
  lreverb --version
"-" stands for standard input as IN and for standard output as OUT. Exit status: 0 done,
1 failed, 2 the command line cannot be understood.
)";

int Run(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::cerr << Help;
    return 2;
  }
  const std::string& command = args[0];
  const std::span<const std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << Help;
    return 0;
  }
  if (command == "--version") {
    std::cout << "lreverb " << LREVERB_VERSION << '\n';
    return 0;
  }
  if (command == "render") return RunRenderCommand(rest, std::cout, std::cerr);
  if (command == "demo") return RunDemoCommand(rest, std::cout, std::cerr);
  if (command == "presets") return RunPresetsCommand(rest, std::cout, std::cerr);
  if (command == "face") return RunFaceCommand(rest, std::cout, std::cerr);
  std::cerr << "lreverb: unknown command " << Quote(command) << " (see lreverb --help)\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunReportingErrors("lreverb", std::cerr, [&] { return Run(args); });
}
