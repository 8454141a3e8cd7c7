#include "tools/lreverb/face_command.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <locale>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "editor/face.h"
#include "editor/paint.h"
#include "gui/pngexport.h"
#include "gui/textwriter.h"
#include "tools/lreverb/output_file.h"
#include "tools/lreverb/params_file.h"
#include "tools/lreverb/presets_command.h"

namespace lumra {
namespace {

constexpr std::string_view Usage =
    "usage: lreverb face OUT.png [--params FILE | --preset NAME] "
    "[--picture paint|face|knob-sheet|power-lit] [--dragging I] [--power-pressed]";

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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
  int index = -1;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, index);
  if (text.empty() || error != std::errc{} || stop != end || index < 0 || index >= KnobCount)
    throw UsageError("--dragging needs a knob index from 0 to " + std::to_string(KnobCount - 1) + ", not \"" +
                     text + "\"");
  return index;
}

FaceRequest Parse(std::span<const std::string> args) {
  FaceRequest request;
  bool pictureGiven = false;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      return args[++i];
    };
    if (a == "--params" || a == "--preset") {
      if (request.ParamsFile || request.Preset) throw UsageError("give --params or --preset once, not both");
      (a == "--params" ? request.ParamsFile : request.Preset) = value();
    } else if (a == "--picture") {
      if (pictureGiven) throw UsageError("give --picture once");
      pictureGiven = true;
      request.Which = ParsePicture(value());
    } else if (a == "--dragging") {
      if (request.Dragging) throw UsageError("give --dragging once");
      request.Dragging = ParseKnobIndex(value());
    } else if (a == "--power-pressed") {
      request.PowerPressed = true;
    } else if (a.starts_with("-")) {
      throw UsageError("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) throw UsageError("face needs an output file; " + std::string(Usage));
  if (files.size() > 1) throw UsageError("face writes one file, not " + std::to_string(files.size()));
  request.Output = files[0];

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
  editor::ComposePaint(pictures, *block, state, text, UserDecimalSeparator(), paint);
  return paint;
}

}  // namespace

char UserDecimalSeparator() {
  try {
    const char point = std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    // A separator outside ASCII would be one byte of a multi-byte character: no valid text.
    const auto byte = static_cast<unsigned char>(point);
    return byte > 0x20 && byte < 0x7F ? point : '.';
  } catch (const std::runtime_error&) {
    return '.';
  }
}

int RunFaceCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  try {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
      out << Usage << '\n';
      return 0;
    }
    const FaceRequest request = Parse(args);
    const std::filesystem::path destination = ReplaceableOutput(request.Output);
    // SavePng writes colour only: the back buffer's alpha is no part of what the window shows.
    SavePng(Draw(request), destination);
    return 0;
  } catch (const UsageError& usage) {
    err << "lreverb face: " << usage.what() << '\n';
    return 2;
  } catch (const std::exception& error) {
    err << "lreverb face: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace lumra
