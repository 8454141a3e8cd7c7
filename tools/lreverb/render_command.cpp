#include "tools/lreverb/render_command.h"

#include <unistd.h>

#include <array>
#include <ostream>

#include "tools/lreverb/command_line.h"
#include "tools/lreverb/knob_check.h"
#include "tools/lreverb/params_file.h"
#include "tools/lreverb/presets_command.h"
#include "tools/lreverb/render.h"
#include "tools/lreverb/sound_format.h"

namespace lumra {
namespace {

constexpr std::string_view HelpText = R"(usage: lreverb render IN OUT [--params FILE | --preset NAME] [--dry PERCENT] [--wet PERCENT]
                      [--block N] [--tail SECONDS] [--format NAME]
  Reverberates IN (any format libsndfile reads, mono or stereo, any rate; "-" reads standard
  input) through the plug-in's engine and writes OUT ("-" writes standard output).
  --params FILE    a 148-byte parameter block, or a text file of its 296 hexadecimal digits
  --preset NAME    a stored preset (see lreverb presets); without either: the load-time settings
  --dry PERCENT    the "Dry Level" knob for this render, 0 to 100 as the face shows it
  --wet PERCENT    the "Wet Level" knob for this render, 0 to 100
  --block N        frames per block, 1 to 1048576 (default 512); the sound does not depend on it
  --tail SECONDS   silence appended, 0 to 3600 (default: long enough to ring out)
  --format NAME    the output format; default: the one OUT's extension names (out.flac: FLAC,
                   out.ogg: Vorbis), else IN's. Samples are float where the format holds them.
  OUT is written whole or not at all, through a link to its file; OUT may not be IN.
  Warns about knob values outside 0..1, an input shorter than its header says, and samples
  clipped by an integer output format.
)";

constexpr std::array<OptionSpec, 7> Options{{
    {"--params", true},
    {"--preset", true},
    {"--dry", true},
    {"--wet", true},
    {"--block", true},
    {"--tail", true},
    {"--format", true},
}};

std::optional<float> Percent(const ParsedArguments& parsed, std::string_view option) {
  const std::optional<std::string> text = SingleOption(parsed, option);
  if (!text) return std::nullopt;
  // As the face shows the knob: its value times 100.
  return static_cast<float>(ParseDecimal(option, *text, 0, 100) / 100.0);
}

RenderJob ParseRender(const ParsedArguments& parsed) {
  if (parsed.Operands.size() < 2) throw UsageError("render needs an input and an output file");
  if (parsed.Operands.size() > 2) throw UsageError("unexpected argument " + Quote(parsed.Operands[2]));
  RenderJob job;
  job.Input = parsed.Operands[0];
  job.Output = parsed.Operands[1];
  const std::optional<std::string> paramsFile = SingleOption(parsed, "--params");
  const std::optional<std::string> preset = SingleOption(parsed, "--preset");
  if (paramsFile && preset) throw UsageError("give --params or --preset, not both");
  const std::optional<float> dry = Percent(parsed, "--dry");
  const std::optional<float> wet = Percent(parsed, "--wet");
  if (const auto block = SingleOption(parsed, "--block"))
    job.Block = static_cast<std::int32_t>(ParseWholeNumber("--block", *block, 1, 1 << 20));
  if (const auto tail = SingleOption(parsed, "--tail")) job.TailSeconds = ParseDecimal("--tail", *tail, 0, 3600);
  job.Format = SingleOption(parsed, "--format");
  // A bad --format is a usage error before any file is touched.
  if (job.Format) RequireFormatName(*job.Format);

  if (paramsFile) job.Params = ReadParamsFile(*paramsFile);
  if (preset) {
    const PresetLookup found = FindPreset(*preset);
    if (!found.Block) throw std::runtime_error(found.Error);
    job.Params = found.Block;
  }
  if (dry || wet) {
    ParamBlock block = job.Params.value_or(LoadTimeBlock());
    if (dry) block.Values[knob::DryLevel] = *dry;
    if (wet) block.Values[knob::WetLevel] = *wet;
    job.Params = block;
  }
  job.Progress = isatty(STDERR_FILENO) != 0;
  return job;
}

}  // namespace

int RunRenderCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunReportingErrors("lreverb render", err, [&] {
    const ParsedArguments parsed = ParseArguments(args, Options);
    if (parsed.Help) {
      out << HelpText;
      return 0;
    }
    const RenderJob job = ParseRender(parsed);
    if (job.Params) {
      const std::vector<KnobProblem> problems = KnobProblems(*job.Params);
      if (!problems.empty())
        err << "lreverb render: warning: the settings hold values outside 0..1: "
            << DescribeKnobProblems(problems, true) << '\n';
    }
    for (const std::string& warning : Render(job)) err << "lreverb render: warning: " << warning << '\n';
    return 0;
  });
}

}  // namespace lumra
