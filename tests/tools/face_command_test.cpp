#include "tools/lreverb/face_command.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "editor/face.h"
#include "editor/paint.h"
#include "presets/block_codec.h"
#include "presets/factory_presets.h"
#include "tests/presets/temp_config_dir.h"

namespace lumra::test {
namespace {

namespace fs = std::filesystem;

// 8-bit RGB pixels and the format the file itself holds.
struct RgbPicture {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  png_uint_32 StoredFormat = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> Rgb;

  bool SameAt(std::int32_t x, std::int32_t y, const RgbPicture& other) const {
    const auto at = Rgb.begin() + 3 * (y * Width + x);
    return std::equal(at, at + 3, other.Rgb.begin() + 3 * (y * Width + x));
  }
};

RgbPicture ReadPng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << path << ": " << image.message;
    return {};
  }
  RgbPicture picture{static_cast<std::int32_t>(image.width), static_cast<std::int32_t>(image.height), image.format, {}};
  image.format = PNG_FORMAT_RGB;
  picture.Rgb.resize(PNG_IMAGE_SIZE(image));
  EXPECT_TRUE(png_image_finish_read(&image, nullptr, picture.Rgb.data(), 0, nullptr)) << image.message;
  return picture;
}

// What a window shows of a surface: its colours, whatever its alpha holds.
RgbPicture Shown(const TFDIB& surface) {
  RgbPicture picture{surface.Width(), surface.Height(), PNG_FORMAT_RGB, {}};
  for (const TPixel p : surface.Pixels())
    for (const int shift : {16, 8, 0}) picture.Rgb.push_back(static_cast<std::uint8_t>(p >> shift));
  return picture;
}

void ExpectSame(const RgbPicture& written, const RgbPicture& expected) {
  EXPECT_EQ(written.StoredFormat, PNG_FORMAT_RGB);  // opaque: no alpha channel in the file
  ASSERT_EQ(written.Width, expected.Width);
  ASSERT_EQ(written.Height, expected.Height);
  EXPECT_TRUE(written.Rgb == expected.Rgb);
}

struct Outcome {
  int Status;
  std::string Out, Err;
};

class FaceCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { pictures_ = new editor::FacePictures(editor::BuildFace()); }
  static void TearDownTestSuite() { delete pictures_; }

  // A locale that cannot be loaded: the value texts must fall back to a decimal point.
  void SetUp() override { ::setenv("LC_ALL", "xx_NO.SUCH-LOCALE", 1); }
  void TearDown() override { ::unsetenv("LC_ALL"); }

  Outcome Run(const std::vector<std::string>& args) const {
    std::ostringstream out, err;
    const int status = RunFaceCommand(args, out, err);
    return {status, out.str(), err.str()};
  }
  std::string File(const std::string& name) const { return (dir_.Path() / name).string(); }

  std::string WriteBlock(const std::string& name, const ParamBlock& block) const {
    std::ofstream(File(name)) << EncodeBlock({reinterpret_cast<const std::uint8_t*>(&block), sizeof block});
    return File(name);
  }

  static RgbPicture Paint(const ParamBlock& block, const editor::PaintState& state = {}) {
    TTextWriter text(editor::WindowFont());
    TFDIB paint(0, 0);
    editor::ComposePaint(*pictures_, block, state, text, '.', paint);
    return Shown(paint);
  }

  // Runs the command with OUT first and reads back what it wrote.
  RgbPicture Picture(std::vector<std::string> options) const {
    options.insert(options.begin(), File("out.png"));
    const Outcome outcome = Run(options);
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    return ReadPng(File("out.png"));
  }

  static editor::FacePictures* pictures_;
  TempConfigDir dir_;  // scratch files and a private preset store
};

editor::FacePictures* FaceCommandTest::pictures_ = nullptr;

TEST_F(FaceCommandTest, BuiltPicturesAreWrittenAsBuilt) {
  ExpectSame(Picture({"--picture", "face"}), Shown(pictures_->Face));
  ExpectSame(Picture({"--picture", "knob-sheet"}), Shown(pictures_->KnobSheet));
  // Through the tool itself, once.
  const std::string command = std::string(LREVERB_TOOL) + " face " + File("lit.png") + " --picture power-lit";
  EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 0);
  ExpectSame(ReadPng(File("lit.png")), Shown(pictures_->PowerLit));
  EXPECT_EQ(pictures_->Face.Width() * pictures_->Face.Height(), 492 * 425);
  EXPECT_EQ(pictures_->KnobSheet.Width() * pictures_->KnobSheet.Height(), 320 * 320);
  EXPECT_EQ(pictures_->PowerLit.Width() * pictures_->PowerLit.Height(), 32 * 12);
}

TEST_F(FaceCommandTest, PaintIsComposePaintOfTheBlockAndStateAskedFor) {
  const RgbPicture loadTime = Picture({});
  EXPECT_EQ(loadTime.Width * loadTime.Height, 492 * 425);
  ExpectSame(loadTime, Paint(LoadTimeBlock()));
  ExpectSame(Picture({"--picture", "paint"}), loadTime);

  const RgbPicture held = Picture({"--dragging", "7", "--power-pressed"});
  ExpectSame(held, Paint(LoadTimeBlock(), {true, 7, true}));
  EXPECT_FALSE(held.Rgb == loadTime.Rgb);

  ParamBlock block = LoadTimeBlock();
  block.Values[0] = 0.9f;
  block.Values[21] = 1.5f;  // out of range: shown held to 1
  ExpectSame(Picture({"--params", WriteBlock("block.txt", block)}), Paint(block));

  const std::vector<std::uint8_t> church = DecodeBlock(FactoryPresets[2].Text);
  std::memcpy(&block, church.data(), sizeof block);
  ExpectSame(Picture({"--preset", "02_church"}), Paint(block));
}

TEST_F(FaceCommandTest, PowerOffLeavesTheSketchPanelsAsOnTheFace) {
  ParamBlock off = LoadTimeBlock();
  off.Power = 0;
  const RgbPicture dark = Picture({"--params", WriteBlock("off.txt", off)});
  const RgbPicture on = Paint(LoadTimeBlock());
  const RgbPicture face = Shown(pictures_->Face);
  ASSERT_EQ(dark.Rgb.size(), on.Rgb.size());

  const auto inPanel = [](editor::TPoint panel, std::int32_t x, std::int32_t y) {
    return x >= panel.X && x < panel.X + editor::DisplayPanelWidth && y >= panel.Y &&
           y < panel.Y + editor::DisplayPanelHeight;
  };
  int decayChanges = 0, roomChanges = 0, elsewhere = 0, drawnWhileOff = 0;
  for (std::int32_t y = 0; y < dark.Height; ++y)
    for (std::int32_t x = 0; x < dark.Width; ++x) {
      const bool decay = inPanel(editor::DecayPanelAt, x, y), room = inPanel(editor::RoomPanelAt, x, y);
      if ((decay || room) && !dark.SameAt(x, y, face)) ++drawnWhileOff;
      if (dark.SameAt(x, y, on)) continue;
      ++(decay ? decayChanges : room ? roomChanges : elsewhere);
    }
  EXPECT_GT(decayChanges, 0);
  EXPECT_GT(roomChanges, 0);
  EXPECT_EQ(elsewhere, 0);
  EXPECT_EQ(drawnWhileOff, 0);
}

TEST_F(FaceCommandTest, BadUsagesFailInOneLineAndWriteNothing) {
  const std::string out = File("out.png"), kept = File("kept.png");
  std::ofstream(kept) << "an older picture";
  const std::string params = WriteBlock("block.txt", LoadTimeBlock());
  const struct {
    std::vector<std::string> Args;
    int Status;
  } cases[] = {
      {{}, 2},
      {{out, "--frobnicate"}, 2},
      {{out, File("second.png")}, 2},
      {{out, "--dragging", "36"}, 2},
      {{out, "--dragging", "seven"}, 2},
      {{out, "--dragging"}, 2},
      {{out, "--picture", "face", "--dragging", "3"}, 2},
      {{out, "--picture", "knob-sheet", "--power-pressed"}, 2},
      {{out, "--picture", "power-lit", "--params", params}, 2},
      {{out, "--picture", "svg"}, 2},
      {{out, "--params", params, "--preset", "02_Church"}, 2},
      {{kept, "--params", File("absent.bin")}, 1},
      {{kept, "--preset", "no such preset"}, 1},
      {{File("no-such-folder/out.png")}, 1},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const std::string& a : c.Args) line += a + ' ';
    const Outcome outcome = Run(c.Args);
    EXPECT_EQ(outcome.Status, c.Status) << line;
    EXPECT_EQ(outcome.Out, "") << line;
    EXPECT_EQ(outcome.Err.rfind("lreverb face: ", 0), 0u) << line << outcome.Err;
    EXPECT_EQ(std::count(outcome.Err.begin(), outcome.Err.end(), '\n'), 1) << line << outcome.Err;
  }
  std::ifstream older(kept);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(older), {}), "an older picture");
  for (const auto& entry : fs::directory_iterator(dir_.Path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "kept.png" || name.find(".png") == std::string::npos) << name;
  }
}

TEST_F(FaceCommandTest, LinksKeepPointingAtThePicturePipesGetItAndFoldersAreRefused) {
  std::ofstream(File("older.png")) << "an older picture";
  fs::create_symlink("older.png", File("link.png"));
  ASSERT_EQ(Run({File("link.png"), "--picture", "power-lit"}).Status, 0);
  EXPECT_TRUE(fs::is_symlink(File("link.png")));
  EXPECT_EQ(ReadPng(File("older.png")).Width, 32);

  // A pipe is written into, as a stream: the picture arrives whole at its reader.
  ASSERT_EQ(::mkfifo(File("pipe.png").c_str(), 0600), 0);
  std::string piped;
  std::thread reader([&] { piped.assign(std::istreambuf_iterator<char>(std::ifstream(File("pipe.png"), std::ios::binary).rdbuf()), {}); });
  EXPECT_EQ(Run({File("pipe.png"), "--picture", "power-lit"}).Status, 0);
  reader.join();
  EXPECT_EQ(piped.substr(1, 3), "PNG");
  EXPECT_TRUE(fs::is_fifo(File("pipe.png")));

  fs::create_directory(File("folder.png"));
  fs::create_symlink("nowhere.png", File("dangling.png"));
  for (const char* name : {"folder.png", "dangling.png"}) {
    const Outcome outcome = Run({File(name)});
    EXPECT_EQ(outcome.Status, 1) << name;
    EXPECT_NE(outcome.Err.find("cannot write"), std::string::npos) << outcome.Err;
  }
  EXPECT_TRUE(fs::is_empty(File("folder.png")));
  EXPECT_TRUE(fs::is_symlink(File("dangling.png")));
}

}  // namespace
}  // namespace lumra::test
