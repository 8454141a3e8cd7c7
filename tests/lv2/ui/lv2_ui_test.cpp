#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <string>

#include "editor/controls.h"
#include "editor/face.h"
#include "editor/paint.h"
#include "gui/textwriter.h"
#include "lv2/ports.h"
#include "tests/lv2/ui/ui_test_host.h"

namespace lumra::test {
namespace {

using Pixels = std::vector<std::uint32_t>;

// What `lreverb face` draws for block: the editor's own paint, in colour only.
Pixels FacePaint(const ParamBlock& block, const editor::PaintState& state = {}) {
  static const editor::FacePictures pictures = editor::BuildFace();
  static TTextWriter text(editor::WindowFont());
  TFDIB paint(0, 0);
  editor::ComposePaint(pictures, block, state, text, '.', paint);
  Pixels pixels;
  for (const TPixel p : paint.Pixels()) pixels.push_back(p & 0xFFFFFF);
  return pixels;
}

bool InMeter(std::size_t i) {
  return editor::Contains(editor::MeterArea, static_cast<std::int32_t>(i % editor::FaceWidth),
                          static_cast<std::int32_t>(i / editor::FaceWidth));
}

// The pixels that differ, inside or outside the meter's area.
std::size_t Differences(const Pixels& shown, const Pixels& expected, bool inMeter) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < shown.size() && i < expected.size(); ++i)
    if (InMeter(i) == inMeter && shown[i] != expected[i]) ++count;
  return count + (shown.size() != expected.size() ? 1 : 0);
}

testing::AssertionResult ShowsInTime(UiTestHost& host, const ParamBlock& block,
                                     const editor::PaintState& state = {}) {
  const Pixels expected = FacePaint(block, state);
  if (host.IdleUntil([&] { return host.WindowPixels() == expected; }))
    return testing::AssertionSuccess();
  const Pixels shown = host.WindowPixels();
  return testing::AssertionFailure()
         << Differences(shown, expected, false) << " pixels outside the meter and "
         << Differences(shown, expected, true) << " in it differ from the face's paint";
}

std::string Describe(const std::vector<PortWrite>& writes) {
  std::string text;
  for (const PortWrite& w : writes)
    text += "port " + std::to_string(w.Port) + " = " + std::to_string(w.Value) + "; ";
  return text;
}

class Lv2Ui : public testing::Test {
 protected:
  // The value texts are compared as written with a decimal point.
  static void SetUpTestSuite() { setenv("LC_ALL", "C", 1); }

  void SetUp() override {
    host_.emplace();
    host_->SendBlock(LoadTimeBlock());
    ASSERT_TRUE(ShowsInTime(*host_, LoadTimeBlock()));
  }

  UiTestHost& Host() { return *host_; }

 private:
  std::optional<UiTestHost> host_;
};

}  // namespace

TEST(Lv2UiDescriptor, OneX11UiThatNeedsAParentWindow) {
  const LV2UI_Descriptor* descriptor = UiDescriptor(0);
  ASSERT_NE(descriptor, nullptr);
  EXPECT_STREQ(descriptor->URI, "urn:quorel:lumra-reverb:ui");
  EXPECT_EQ(UiDescriptor(1), nullptr);
  const LV2_Feature* none[] = {nullptr};
  LV2UI_Widget widget = nullptr;
  EXPECT_EQ(descriptor->instantiate(
                descriptor, "urn:quorel:lumra-reverb", "", [](auto...) {}, nullptr, &widget, none),
            nullptr);
}

TEST_F(Lv2Ui, DrawsTheFaceOfThePortValuesTheHostReports) {
  EXPECT_EQ(Host().AskedSize(), std::make_pair(editor::FaceWidth, editor::FaceHeight));
  ParamBlock block = LoadTimeBlock();
  block.Values[knob::ReverbTime] = 0.9f;
  block.Values[knob::DryLevel] = 0.5f;
  Host().SendBlock(block);
  EXPECT_TRUE(ShowsInTime(Host(), block));
  block.Power = 0;  // the sketches go dark
  Host().SendPort(lv2::port::Power, 0.0f);
  EXPECT_TRUE(ShowsInTime(Host(), block));
  // What the host reports is never written back to it.
  EXPECT_EQ(Describe(Host().TakeWrites()), "");
}

TEST_F(Lv2Ui, TurnsAKnobByTheAngleOfALeftButtonDrag) {
  const int element = knob::WetGain;
  const auto [x, y] = editor::KnobCentre(element);
  const std::int32_t toX = x - 20, toY = y - 9;

  // Other buttons turn nothing; had they, their writes would come first.
  Host().Press(Button3, x, y);
  Host().Move(Button3Mask, toX, y + 20);
  Host().Release(Button3, toX, y + 20);
  Host().Press(Button1, x, y);
  Host().Move(Button1Mask, toX, toY);
  ASSERT_TRUE(Host().IdleUntil([&] { return !Host().Writes().empty(); }));
  const float turnedTo = editor::AngleValue(element, toX, toY);
  const std::vector<PortWrite> writes = Host().TakeWrites();
  ASSERT_EQ(writes.size(), 1u) << Describe(writes);
  EXPECT_EQ(writes[0].Port, static_cast<std::uint32_t>(element));
  EXPECT_EQ(std::bit_cast<std::uint32_t>(writes[0].Value), std::bit_cast<std::uint32_t>(turnedTo))
      << writes[0].Value << " written, " << turnedTo << " by the angle rule";

  ParamBlock turned = LoadTimeBlock();
  turned.Values[static_cast<std::size_t>(element)] = turnedTo;
  EXPECT_TRUE(ShowsInTime(Host(), turned, {true, element, false}));  // the value in red while held
  Host().Release(Button1, toX, toY);
  EXPECT_TRUE(ShowsInTime(Host(), turned));
  EXPECT_EQ(Describe(Host().TakeWrites()), "");
}

TEST_F(Lv2Ui, PowerClicksWriteThePowerPortFlipped) {
  const TRect& hit = editor::PowerSwitch.HitArea;
  const std::int32_t x = (hit.Left + hit.Right) / 2, y = (hit.Top + hit.Bottom) / 2;
  Host().Press(Button1, x, y);
  ASSERT_TRUE(Host().IdleUntil([&] { return !Host().Writes().empty(); }));
  EXPECT_EQ(Describe(Host().TakeWrites()), "port 36 = 0.000000; ");
  ParamBlock off = LoadTimeBlock();
  off.Power = 0;
  EXPECT_TRUE(ShowsInTime(Host(), off, {false, 0, true}));  // the label lit while held
  Host().Release(Button1, x, y);
  EXPECT_TRUE(ShowsInTime(Host(), off));

  Host().Press(Button1, x, y);
  Host().Release(Button1, x, y);
  ASSERT_TRUE(Host().IdleUntil([&] { return !Host().Writes().empty(); }));
  EXPECT_EQ(Describe(Host().TakeWrites()), "port 36 = 1.000000; ");
}

TEST_F(Lv2Ui, MeterScrollsWithThePeakPorts) {
  const Pixels face = FacePaint(LoadTimeBlock());
  Host().SendPort(lv2::port::PeakLeft, 0.5f);
  Host().SendPort(lv2::port::PeakRight, 0.25f);
  EXPECT_TRUE(Host().IdleUntil([&] { return Differences(Host().WindowPixels(), face, true) > 0; }));
  EXPECT_EQ(Differences(Host().WindowPixels(), face, false), 0u);
}

}  // namespace lumra::test
