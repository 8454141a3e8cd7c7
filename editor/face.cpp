#include "editor/face.h"

#include <cmath>
#include <numbers>

#include "common/random.h"
#include "editor/control_table.h"
#include "gui/canvas.h"
#include "gui/guidraw.h"

namespace lumra::editor {
namespace {

TFont LabelFont() { return {"Arial", 0, 7, false, false}; }

// Lines joining the knob centres of each panel; the "Mix" panel has two of its own.
void MaskPanelLines(TGUIDIB& work) {
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

// 64 pointer frames in four strips of 16, each strip coloured by a left-to-right gradient laid out
// over the face's width, so a 320-pixel strip gets the first 320/492 of it: the strips go from
// blue through cyan, green and yellow towards red.
void DrawKnobSheet(TGUIDIB& sheet, TGUIDIB& work) {
  const TDIVLine ticks(21, 2.0943952f, 7.330383f, 4, 15, 1.5f, 2, 2, 3, 0xE0E0E0, false);
  constexpr TColor kStripColours[5] = {0x4040C0, 0x40C0C0, 0x40C040, 0xC0C040, 0xC04040};
  for (int strip = 0; strip < 4; ++strip) {
    work.SetSize(320, 80);
    for (int j = 0; j < 16; ++j) {
      const int frame = 16 * strip + j;
      const auto angle = static_cast<float>((frame / 63.0 * 300 + 120) / 360 * 2 * std::numbers::pi);
      const float cx = 40.0f * (j % 8) + 20, cy = 40.0f * (j / 8) + 20;
      work.MaskTaperedLine(cx, cy, static_cast<float>(cx + 18 * std::cos(double{angle})),
                           static_cast<float>(cy + 18 * std::sin(double{angle})), 5, 1.5f, 1);
      ticks.DrawTo(work, static_cast<int>(cx), static_cast<int>(cy));
    }
    work.FillGradient(0, 0, 492, 0, kStripColours[strip], kStripColours[strip + 1]);
    work.DrawTo(sheet, 0, 80 * strip);
  }
}

void DrawButtons(TGUIDIB& face, TGUIDIB& work) {
  work.SetSize(42, 16);
  work.MaskFullCircle(1);
  work.FillGradient(18, 4, 23, 20, 0xFFF0E0, 0x000000);
  for (const ButtonControl& button : {LibraryButton, PowerSwitch}) work.DrawTo(face, button.RimAt.X, button.RimAt.Y);
  work.SetSize(40, 14);
  work.MaskFullCircle(1);
  work.FillColor(0xB0A498);
  for (const ButtonControl& button : {LibraryButton, PowerSwitch}) work.DrawTo(face, button.CapAt.X, button.CapAt.Y);
}

void MaskLabel(TGUIDIB& work, const TextItem& item) {
  work.MaskText(item.At.X, item.At.Y, item.Text, LabelCellSize, 4, 1);
}

// All lettering, in black: knob labels, panel titles, sub-headings, button labels, title words.
void DrawLettering(TGUIDIB& face, TGUIDIB& work) {
  work.SetSize(FaceWidth, FaceHeight);
  work.Font = LabelFont();
  for (const KnobControl& knob : Knobs) MaskLabel(work, {knob.Label, knob.LabelAt});
  for (const KnobGroup& group : KnobGroups) MaskLabel(work, group.Title);
  for (const TextItem& heading : SubHeadings) MaskLabel(work, heading);
  MaskLabel(work, LibraryButton.Label);
  MaskLabel(work, PowerSwitch.Label);
  work.Font.Bold = true;
  for (const TitleWord& title : {MakerWord, ProductName})
    work.MaskText(title.Word.At.X, title.Word.At.Y, title.Word.Text, title.CellSize, 4, 1);
  work.FillColor(0x000000);
  work.DrawTo(face, 0, 0);
}

// Dark blue, lightest near the top left, a sunken frame, and a tenth of the grain showing through.
void DrawDisplayPanels(TGUIDIB& face, TGUIDIB& work) {
  work.SetSize(DisplayPanelWidth, DisplayPanelHeight);
  work.FillRadialGradient(0x000060, 0x000040, 48, 32, 100);
  work.MaskAll();
  work.DrawFrame(0x000000, 0x0000A0);
  work.ScaleAlpha(0.9f);
  for (const TPoint at : {MeterPanelAt, DecayPanelAt, RoomPanelAt}) work.DrawTo(face, at.X, at.Y);
}

void DrawKnobBodies(TGUIDIB& face, const TDial2& dial) {
  for (const TPoint origin : {KnobGroups[0].Origin, KnobGroups[1].Origin, KnobGroups[4].Origin,
                              KnobGroups[2].Origin, KnobGroups[5].Origin, KnobGroups[3].Origin})
    for (int c = 0; c < 3; ++c)
      for (int r = 0; r < 2; ++r) dial.DrawTo(face, origin.X + KnobColumnStep * c, origin.Y + KnobRowStep * r);
}

// The "Power" label redrawn in orange-red on the finished face, and the face's box around it.
TGUIDIB LitPowerLabel(TGUIDIB& face, TGUIDIB& work) {
  work.SetSize(PowerLitArea.Right - PowerLitArea.Left, PowerLitArea.Bottom - PowerLitArea.Top);
  work.Font = LabelFont();
  work.FillColor(0xE06040);
  work.MaskText(0, 0, PowerSwitch.Label.Text, LabelCellSize, 4, 1);
  work.DrawTo(face, PowerLitArea.Left, PowerLitArea.Top);
  TGUIDIB lit(work.Width(), work.Height());
  CopyRect(lit, 0, 0, face, PowerLitArea, CopyMode::SourceCopy);
  lit.MaskAll();
  return lit;
}

}  // namespace

FacePictures BuildFace() {
  RandomGenerator grain(0);
  TGUIDIB face(FaceWidth, FaceHeight);
  face.MaskAll();
  face.FillNoisyGradient(0, 0, FaceWidth, FaceHeight, 0xB0A090, 0x706860, 0x303030, 0x202020, true, grain);

  TGUIDIB work(FaceWidth, FaceHeight);
  MaskPanelLines(work);
  work.FillGradient(0, 0, FaceWidth, FaceHeight, 0xA09488, 0x525252);
  work.DrawTo(face, 0, 0);

  FacePictures pictures;
  pictures.KnobSheet = TGUIDIB(320, 320);
  DrawKnobSheet(pictures.KnobSheet, work);
  DrawButtons(face, work);
  const TDial2 dial(24, 20, 19, 0x80776C, 0x000000, 2.0f, 6, 1.0f);
  DrawLettering(face, work);
  DrawDisplayPanels(face, work);
  DrawKnobBodies(face, dial);
  face.DrawFrame(0xFFF0E0, 0x403A34);

  pictures.Face = face;
  pictures.PowerLit = LitPowerLabel(face, work);
  return pictures;
}

}  // namespace lumra::editor
