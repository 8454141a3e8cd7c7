// Draws the sample face and knob sheet onto one swatch sheet and writes it as a PNG into the
// build tree, for a person to look at; also checks what can be checked without eyes.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "common/random.h"
#include "gui/pngexport.h"
#include "pixels.h"
#include "sample_face.h"

namespace lumra {
namespace {

// Stamps frame f of the knob sheet onto the face centred on (cx, cy) by XOR, as the editor's
// paint does: black leaves the face alone, the pointer shows on the knob's black top.
void StampPointer(TFDIB& face, const TFDIB& sheet, int frame, int cx, int cy) {
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const TPixel p = PixelAt(sheet, 40 * (frame % 8) + x, 40 * (frame / 8) + y);
      face.ScanLine(cy - 20 + y)[static_cast<std::size_t>(cx - 20 + x)] ^= p & 0xFFFFFF;
    }
}

}  // namespace

TEST(SwatchSheet, FaceIsOpaqueWithItsPanelsAndIsWrittenAsPng) {
  SetRandomSeed(0);  // the generator's state at load, so the grain is the same on every run
  SampleFace sample = DrawSampleFace();
  const TGUIDIB& face = sample.Face;

  for (TPixel p : face.Pixels()) ASSERT_EQ(p >> 24, 255u);
  EXPECT_EQ(PixelAt(face, 0, 0), 0xFFFFF0E0u);      // the bevel round the face
  EXPECT_EQ(PixelAt(face, 491, 424), 0xFF403A34u);
  EXPECT_EQ(PixelAt(sample.KnobSheet, 0, 0), 0u);   // the sheet stays black between frames
  const TPixel panel = PixelAt(face, 220, 100);     // display panel: dark blue over a tenth of grain
  EXPECT_LT((panel >> 16) & 0xFF, 0x20u);
  EXPECT_GT(panel & 0xFF, (panel >> 16) & 0xFF);

  int value = 0;
  for (const auto& [gx, gy] : kKnobGroups)
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 3; ++c) StampPointer(sample.Face, sample.KnobSheet, (value++ * 9) % 64, gx + 56 * c, gy + 60 * r);

  TGUIDIB sheet(492 + 8 + 320, 425);
  sheet.MaskAll();
  sheet.FillColor(0x202020);
  face.DrawTo(sheet, 0, 0);
  sample.KnobSheet.DrawTo(sheet, 500, 0);

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
