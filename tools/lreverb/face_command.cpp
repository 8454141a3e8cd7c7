#include "tools/lreverb/face_command.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "editor/decimal_separator.h"
#include "editor/face.h"
#include "editor/paint.h"
#include "gui/pngexport.h"
#include "gui/textwriter.h"
#include "tools/lreverb/command_line.h"
#include "tools/lreverb/output_file.h"
#include "tools/lreverb/params_file.h"
#include "tools/lreverb/presets_command.h"

namespace lumra {
namespace {

constexpr std::string_view HelpText = R"(usage: lreverb face OUT.png [--params FILE | --preset NAME] [--picture paint|face|knob-sheet|power-lit]
                    [--dragging I] [--power-pressed]
  Writes what the editor window shows as a PNG: by default one paint of it at the given settings
  (without --params or --preset: the load-time settings, Power on), value texts with the
  locale's decimal separator. --dragging I shows knob I (0-35) being turned, --power-pressed the
  Power switch held down. --picture face, knob-sheet or power-lit writes that picture as the
  editor builds it instead. OUT ("-": standard output) is written whole or not at all.
)";

constexpr std::array<OptionSpec, 5> Options{{
    {"--params", true},
    {"--preset", true},
    {"--picture", true},
    {"--dragging", true},
    {"--power-pressed", false},
}};

enum class Picture : std::uint8_t { Paint, Face, KnobSheet, PowerLit };

struct PictureName {
  std::string_view Name;
  Picture Which;
};

constexpr std::array<PictureName, 4> PictureNames{{
    {"paint", Picture::Paint},
    {"face", Picture::Face},
    {"knob-sheet", Picture::KnobSheet},
    {"power-lit", Picture::PowerLit},
}};

struct FaceRequest {
  std::string Output;
  Picture Which = Picture::Paint;
  std::optional<std::string> ParamsFile;
  std::optional<std::string> Preset;
  std::optional<int> Dragging;
  bool PowerPressed = false;
};

Picture ParsePicture(const std::string& text) {
  for (const PictureName& picture : PictureNames)
    if (picture.Name == text) return picture.Which;
  throw UsageError("--picture takes paint, face, knob-sheet or power-lit, not \"" + text + "\"");
}

int ParseKnobIndex(const std::string& text) {
  return static_cast<int>(ParseWholeNumber("--dragging", text, 0, KnobCount - 1));
}

FaceRequest Parse(const ParsedArguments& parsed) {
  FaceRequest request;
  if (parsed.Operands.empty()) throw UsageError("face needs an output file (see lreverb face --help)");
  if (parsed.Operands.size() > 1) throw UsageError("unexpected argument " + Quote(parsed.Operands[1]));
  request.Output = parsed.Operands[0];
  request.ParamsFile = SingleOption(parsed, "--params");
  request.Preset = SingleOption(parsed, "--preset");
  if (request.ParamsFile && request.Preset) throw UsageError("give --params or --preset, not both");
  if (const auto picture = SingleOption(parsed, "--picture")) request.Which = ParsePicture(*picture);
  if (const auto dragging = SingleOption(parsed, "--dragging")) request.Dragging = ParseKnobIndex(*dragging);
  request.PowerPressed = SingleOption(parsed, "--power-pressed").has_value();

  // Everything but the face, the sheet and the label themselves belongs to a paint; ignoring it
  // would write a picture other than the one asked for.
  if (request.Which != Picture::Paint) {
    const auto reject = [](std::string_view option) {
      throw UsageError(std::string(option) + " applies only to --picture paint");
    };
    if (request.Dragging) reject("--dragging");
    if (request.PowerPressed) reject("--power-pressed");
    if (request.ParamsFile) reject("--params");
    if (request.Preset) reject("--preset");
  }
  return request;
}

ParamBlock BlockToPaint(const FaceRequest& request) {
  if (request.ParamsFile) return ReadParamsFile(*request.ParamsFile);
  if (request.Preset) {
    const PresetLookup found = FindPreset(*request.Preset);
    if (!found.Block) throw std::runtime_error(found.Error);
    return *found.Block;
  }
  return LoadTimeBlock();
}

TFDIB Draw(const FaceRequest& request) {
  // The block is read before the face is built, so a bad file fails at once.
  const std::optional<ParamBlock> block =
      request.Which == Picture::Paint ? std::optional(BlockToPaint(request)) : std::nullopt;
  const editor::FacePictures pictures = editor::BuildFace();
  switch (request.Which) {
    case Picture::Face:
      return pictures.Face;
    case Picture::KnobSheet:
      return pictures.KnobSheet;
    case Picture::PowerLit:
      return pictures.PowerLit;
    case Picture::Paint:
      break;
  }
  TTextWriter text(editor::WindowFont());
  const editor::PaintState state{request.Dragging.has_value(), request.Dragging.value_or(0), request.PowerPressed};
  TFDIB paint(0, 0);
  editor::ComposePaint(pictures, *block, state, text, editor::UserDecimalSeparator(), paint);
  return paint;
}

}  // namespace

int RunFaceCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  return RunReportingErrors("lreverb face", err, [&] {
    const ParsedArguments parsed = ParseArguments(args, Options);
    if (parsed.Help) {
      out << HelpText;
      return 0;
    }
    const FaceRequest request = Parse(parsed);
    const TFDIB picture = Draw(request);
    OutputFile output(request.Output);
    // SavePng writes colour only: the back buffer's alpha is no part of what the window shows.
    SavePng(picture, output.Temporary());
    output.Commit();
    return 0;
  });
}

}  // namespace lumra
