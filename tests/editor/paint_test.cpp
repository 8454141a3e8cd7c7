#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "../gui/pixels.h"
#include "editor/controls.h"
#include "editor/paint.h"
#include "editor/sketches.h"
#include "editor/value_text.h"
#include "gui/textraster.h"

namespace lumra::editor {
namespace {

const FacePictures& Pictures() {
  static const FacePictures pictures = BuildFace();
  return pictures;
}

ParamBlock Uniform(float v, std::uint8_t power) {
  ParamBlock block;
  block.Values.fill(v);
  block.Power = power;
  return block;
}

TFDIB Paint(const ParamBlock& block, const PaintState& state = {}) {
  static TTextWriter text(WindowFont());
  TFDIB out(0, 0);
  ComposePaint(Pictures(), block, state, text, '.', out);
  return out;
}

// Whether a shows in r what b shows there, or with b's top-left corner placed at (dx, dy). Only
// colours count: the paint's surface carries no coverage.
bool SameColours(const TFDIB& a, const TFDIB& b, const TRect& r, std::int32_t dx = 0, std::int32_t dy = 0) {
  for (std::int32_t y = r.Top; y < r.Bottom; ++y)
    for (std::int32_t x = r.Left; x < r.Right; ++x)
      if (((PixelAt(a, x, y) ^ PixelAt(b, x - dx, y - dy)) & 0xFFFFFF) != 0) return false;
  return true;
}

TRect KnobSquare(int element) {
  const auto [x, y] = KnobCentre(element);
  return {x - KnobFrameSize / 2, y - KnobFrameSize / 2, x + KnobFrameSize / 2, y + KnobFrameSize / 2};
}

constexpr TRect kDecayPanel{170, 181, 322, 285};
constexpr TRect kRoomPanel{170, 305, 322, 409};

}  // namespace

TEST(Face, BuildsTheSamePicturesEveryTime) {
  const FacePictures first = BuildFace();
  TFDIB scratch(FaceWidth, FaceHeight);
  DrawDecaySketch(scratch, Uniform(0.7f, 1));  // draws random numbers of its own in between
  const FacePictures second = BuildFace();
  EXPECT_TRUE(std::ranges::equal(first.Face.Pixels(), second.Face.Pixels()));
  EXPECT_TRUE(std::ranges::equal(first.KnobSheet.Pixels(), second.KnobSheet.Pixels()));
  EXPECT_TRUE(std::ranges::equal(first.PowerLit.Pixels(), second.PowerLit.Pixels()));
}

TEST(Paint, RepeatsExactlyAndShowsTheSketchesAndLitLabelOnlyWhenDue) {
  const TFDIB on = Paint(Uniform(0.3f, 1)), off = Paint(Uniform(0.3f, 0));
  EXPECT_TRUE(std::ranges::equal(on.Pixels(), Paint(Uniform(0.3f, 1)).Pixels()));
  EXPECT_TRUE(std::ranges::equal(off.Pixels(), Paint(Uniform(0.3f, 0)).Pixels()));
  const TFDIB& face = Pictures().Face;
  EXPECT_TRUE(SameColours(off, face, kDecayPanel));
  EXPECT_TRUE(SameColours(off, face, kRoomPanel));
  EXPECT_FALSE(SameColours(on, face, kDecayPanel));
  EXPECT_FALSE(SameColours(on, face, kRoomPanel));
  for (int e = 0; e < KnobCount; ++e) EXPECT_FALSE(SameColours(off, face, KnobSquare(e))) << e;
  for (std::int32_t y = 0; y < FaceHeight; ++y)  // the sketches keep to their panels
    for (std::int32_t x = 0; x < FaceWidth; ++x)
      ASSERT_TRUE(SameColours(on, off, {x, y, x + 1, y + 1}) || Contains(kDecayPanel, x, y) ||
                  Contains(kRoomPanel, x, y))
          << x << ", " << y;

  // Held, the Power switch shows its lit label.
  const TFDIB pressed = Paint(Uniform(0.3f, 1), {false, 0, true});
  EXPECT_FALSE(SameColours(pressed, on, PowerLitArea));
  EXPECT_TRUE(SameColours(pressed, Pictures().PowerLit, PowerLitArea, PowerLitArea.Left, PowerLitArea.Top));
}

TEST(Paint, TurnedKnobShowsItsValueInLightRed) {
  const ParamBlock block = Uniform(0.3f, 1);
  const TFDIB plain = Paint(block);
  for (int e = 0; e < KnobCount; ++e) {
    const TFDIB dragged = Paint(block, {true, e, false});
    // The text's box: a 12-pixel character cell per character at most, with a little room below.
    const std::int32_t n = CountCharacters(ValueText(e, 0.3f));
    const TPoint at = ValueTextAt(e, n);
    const TRect box{at.X - 1, at.Y - 1, at.X + 12 * n, at.Y + 14};
    int changed = 0, lightRed = 0;
    for (std::int32_t y = 0; y < FaceHeight; ++y)
      for (std::int32_t x = 0; x < FaceWidth; ++x) {
        if (SameColours(dragged, plain, {x, y, x + 1, y + 1})) continue;
        ++changed;
        ASSERT_TRUE(Contains(box, x, y)) << "element " << e << " at " << x << ", " << y;
        for (int other = 0; other < KnobCount; ++other)
          ASSERT_TRUE(other == e || !Contains(KnobSquare(other), x, y)) << "element " << e << " on knob " << other;
        const TPixel p = PixelAt(dragged, x, y);
        const int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
        lightRed += red >= 0xF0 && std::abs(green - 0xC0) <= 0x10 && std::abs(blue - 0xC0) <= 0x10;
      }
    EXPECT_GT(changed, 0) << e;
    EXPECT_GT(lightRed, 0) << e;
  }
}

TEST(DecaySketch, CountsItsLinesAndDrawsNoneWithoutWetSignal) {
  ParamBlock block = Uniform(0.5f, 1);
  for (const auto& [predelay, lines] : {std::pair{0.0f, 132}, std::pair{1.0f, 119}}) {
    block.Values[23] = predelay;
    TFDIB s(FaceWidth, FaceHeight);
    EXPECT_EQ(DrawDecaySketch(s, block), lines) << predelay;
  }
  // Without wet signal only the axes and the direct sound (half of 86 pixels) remain.
  block.Values[19] = 0.0f;
  TFDIB dry(FaceWidth, FaceHeight), want(FaceWidth, FaceHeight);
  DrawDecaySketch(dry, block);
  for (std::int32_t y = 192; y < 233; ++y) SetPixel(want, 179, y, 0x0060C0);
  for (std::int32_t y = 233; y < 276; ++y) SetPixel(want, 179, y, 0x8080FF);
  for (std::int32_t x = 179; x < 312; ++x) SetPixel(want, x, 276, 0x0060C0);
  EXPECT_TRUE(std::ranges::equal(dry.Pixels(), want.Pixels()));
}

}  // namespace lumra::editor
