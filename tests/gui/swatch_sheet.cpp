// Draws the editor's face, a paint of it at the load-time settings and the knob sheet onto one
// swatch sheet and writes it as a PNG into the build tree, for a person to look at; also checks
// what can be checked without eyes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor/face.h"
#include "editor/paint.h"
#include "gui/pngexport.h"
#include "pixels.h"

namespace lumra {
TEST(SwatchSheet, FaceIsOpaqueWithItsPanelsAndIsWrittenAsPng) {
  const editor::FacePictures pictures = editor::BuildFace();
  const TGUIDIB& face = pictures.Face;

  for (TPixel p : face.Pixels()) ASSERT_EQ(p >> 24, 255u);
  EXPECT_EQ(PixelAt(face, 0, 0), 0xFFFFF0E0u);  // the bevel round the face
  EXPECT_EQ(PixelAt(face, 491, 424), 0xFF403A34u);
  EXPECT_EQ(PixelAt(pictures.KnobSheet, 0, 0), 0u);  // the sheet stays black between frames
  const TPixel panel = PixelAt(face, 220, 100);      // display panel: dark blue over a tenth of grain
  EXPECT_LT((panel >> 16) & 0xFF, 0x20u);
  EXPECT_GT(panel & 0xFF, (panel >> 16) & 0xFF);

  TTextWriter text(editor::WindowFont());
  TFDIB paint(0, 0);
  editor::ComposePaint(pictures, LoadTimeBlock(), {}, text, '.', paint);

  TGUIDIB sheet(2 * 492 + 16 + 320, 425);
  sheet.MaskAll();
  sheet.FillColor(0x202020);
  face.DrawTo(sheet, 0, 0);
  TGUIDIB painted(paint.Width(), paint.Height());
  painted.MaskAll();
  for (std::int32_t y = 0; y < paint.Height(); ++y)
    for (std::int32_t x = 0; x < paint.Width(); ++x)
      painted.ScanLine(y)[static_cast<std::size_t>(x)] |= paint.ScanLine(y)[static_cast<std::size_t>(x)];
  painted.DrawTo(sheet, 492 + 8, 0);
  pictures.KnobSheet.DrawTo(sheet, 2 * 492 + 16, 0);

  const std::filesystem::path path = LREVERB_SWATCH_PNG;
  std::filesystem::create_directories(path.parent_path());
  SavePng(sheet, path);
  std::ifstream file(path, std::ios::binary);
  char signature[8] = {};
  file.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
  std::cout << "swatch sheet: " << path.string() << "\n";
}

TEST(SavePng, FailsCleanlyWithoutLeavingAFile) {
  const TFDIB s(2, 2);
  const std::filesystem::path missing = std::filesystem::path(LREVERB_SWATCH_PNG).parent_path() / "no-such-dir" / "x.png";
  EXPECT_THROW(SavePng(s, missing), std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));
  EXPECT_THROW(SavePng(TFDIB(0, 0), std::filesystem::path(LREVERB_SWATCH_PNG).parent_path() / "empty.png"),
               std::runtime_error);
}

}  // namespace lumra
