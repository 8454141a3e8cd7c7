#include "sample_face.h"

#include <cmath>
#include <numbers>
#include <string_view>

#include "gui/guidraw.h"

namespace lumra {
namespace {

struct Label {
  int x, y;
  std::string_view text;
};

constexpr Label kLabels[] = {
    {14, 7, "Reverb"},      {14, 144, "Spread"},    {335, 7, "Diffuse"},    {343, 281, "Mix"},
    {19, 281, "Warp"},      {335, 144, "Diffuse"},  {133, 7, "Size"},       {122, 144, "Feedback"},
    {130, 281, "E.Ref."},   {237, 13, "Library"},   {289, 13, "Power"},     {9, 67, "Rev. Time"},
    {75, 67, "Color"},      {140, 67, "Z"},         {15, 127, "Density"},   {84, 127, "X"},
    {140, 127, "Y"},        {18, 204, "Level"},     {73, 204, "Phase"},     {130, 204, "Cross"},
    {22, 264, "Pan"},       {67, 264, "LPF Freq."}, {126, 264, "Hi Ratio"}, {337, 67, "Size 1"},
    {395, 67, "Size 2"},    {450, 67, "Gain 3"},    {337, 127, "Size 3"},   {395, 127, "Gain 1"},
    {450, 127, "Gain 2"},   {329, 341, "Dry Level"}, {385, 341, "Wet Level"}, {443, 341, "Wet Gain"},
    {330, 401, "HPF Freq."}, {384, 401, "LPF Freq."}, {444, 401, "Predelay"}, {17, 341, "Size X"},
    {75, 341, "Size Y"},    {128, 341, "Density"},  {17, 401, "Size Z"},    {77, 401, "Size"},
    {131, 401, "Level"},    {337, 204, "Size X"},   {395, 204, "Size Y"},   {450, 204, "Gain Z"},
    {337, 264, "Size Z"},   {395, 264, "Gain X"},   {450, 264, "Gain Y"},
};

void DrawPanelLines(TGUIDIB& work) {
  for (int px = 0; px < 2; ++px)
    for (int py = 0; py < 3; ++py) {
      if (px == 1 && py == 2) continue;
      const float bx = 320.0f * px, by = 137.0f * py;
      work.MaskLine(bx + 30, by + 44, bx + 86, by + 44, 3, 1);
      work.MaskLine(bx + 64, by + 67, bx + 52, by + 81, 3, 1);
      work.MaskLine(bx + 30, by + 104, bx + 30, by + 44, 3, 1);
      work.MaskLine(bx + 120, by + 67, bx + 108, by + 81, 3, 1);
      work.MaskLine(bx + 86, by + 104, bx + 142, by + 104, 3, 1);
      work.MaskLine(bx + 142, by + 104, bx + 142, by + 44, 3, 1);
    }
  work.MaskLine(350, 318, 462, 318, 3, 1);
  work.MaskLine(350, 378, 406, 378, 3, 1);
}

void DrawKnobSheet(TGUIDIB& sheet, TGUIDIB& work) {
  const TDIVLine ticks(21, 2.0943952f, 7.330383f, 4, 15, 1.5f, 2, 2, 3, 0xE0E0E0, false);
  constexpr TColor kStripColours[5] = {0x4040C0, 0x40C0C0, 0x40C040, 0xC0C040, 0xC04040};
  for (int strip = 0; strip < 4; ++strip) {
    work.SetSize(320, 80);
    for (int j = 0; j < 16; ++j) {
      const int frame = 16 * strip + j;
      const auto angle = static_cast<float>((frame / 63.0 * 300 + 120) / 360 * 2 * std::numbers::pi);
      const float cx = 40.0f * (j % 8) + 20, cy = 40.0f * (j / 8) + 20;
      work.MaskTaperedLine(cx, cy, static_cast<float>(cx + 18 * std::cos(angle)),
                           static_cast<float>(cy + 18 * std::sin(angle)), 5, 1.5f, 1);
      ticks.DrawTo(work, static_cast<int>(cx), static_cast<int>(cy));
    }
    work.FillGradient(0, 0, 492, 0, kStripColours[strip], kStripColours[strip + 1]);
    work.DrawTo(sheet, 0, 80 * strip);
  }
}

}  // namespace

SampleFace DrawSampleFace() {
  SampleFace out;
  TGUIDIB& face = out.Face;
  face.MaskAll();
  face.FillNoisyGradient(0, 0, 492, 425, 0xB0A090, 0x706860, 0x303030, 0x202020, true);

  TGUIDIB work(492, 425);
  DrawPanelLines(work);
  work.FillGradient(0, 0, 492, 425, 0xA09488, 0x525252);
  work.DrawTo(face, 0, 0);

  DrawKnobSheet(out.KnobSheet, work);

  work.SetSize(42, 16);
  work.MaskFullCircle(1);
  work.FillGradient(18, 4, 23, 20, 0xFFF0E0, 0x000000);
  work.DrawTo(face, 230, 11);
  work.DrawTo(face, 280, 11);
  work.SetSize(40, 14);
  work.MaskFullCircle(1);
  work.FillColor(0xB0A498);
  work.DrawTo(face, 231, 12);
  work.DrawTo(face, 281, 12);

  const TDial2 dial(24, 20, 19, 0x80776C, 0x000000, 2.0f, 6, 1.0f);

  work.SetSize(492, 425);
  work.Font = {"Arial", 0, 7, false, false};
  for (const Label& label : kLabels) work.MaskText(label.x, label.y, label.text, 7, 4, 1);
  work.Font.Bold = true;
  work.MaskText(168, 8, "Quorel", 14, 4, 1);
  work.MaskText(186, 28, "Lumra Reverb", 16, 4, 1);
  work.FillColor(0x000000);
  work.DrawTo(face, 0, 0);

  work.SetSize(152, 104);
  work.FillRadialGradient(0x000060, 0x000040, 48, 32, 100);
  work.MaskAll();
  work.DrawFrame(0x000000, 0x0000A0);
  work.ScaleAlpha(0.9f);
  for (int y : {57, 181, 305}) work.DrawTo(face, 170, y);

  for (const auto& [gx, gy] : kKnobGroups)
    for (int c = 0; c < 3; ++c)
      for (int r = 0; r < 2; ++r) dial.DrawTo(face, gx + 56 * c, gy + 60 * r);
  face.DrawFrame(0xFFF0E0, 0x403A34);
  return out;
}

}  // namespace lumra
