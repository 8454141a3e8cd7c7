#pragma once
// The editor's control table: where every knob, label, button, title word and display panel of
// the face sits, what each knob is called and how its value is shown. The face build, the paint,
// the hit tests, the value texts and the command line's preset listing all read this one table.
//
// Coordinates are client pixels of the editor window, x to the right and y downwards.

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

#include "gui/fdib.h"
#include "plugin/param_block.h"

namespace lumra::editor {

inline constexpr std::int32_t FaceWidth = 492;
inline constexpr std::int32_t FaceHeight = 425;

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TextItem {
  std::string_view Text;
  TPoint At;  // top-left corner of the text box
};

// Six groups of two rows by three columns; knob (g, r, c) edits element 6g + 3r + c and has its
// centre 56 c to the right and 60 r below the group's origin.
struct KnobGroup {
  TPoint Origin;  // centre of the group's first knob
  TextItem Title;
};

inline constexpr std::int32_t KnobColumnStep = 56;
inline constexpr std::int32_t KnobRowStep = 60;
// A knob takes the mouse where |x - centre x| < 24 and |y - centre y| < 24.
inline constexpr std::int32_t KnobGrabReach = 24;
// A knob pointer frame is a 40 x 40 square centred on the knob.
inline constexpr std::int32_t KnobFrameSize = 40;

inline constexpr std::array<KnobGroup, 6> KnobGroups{{
    {{30, 44}, {"Reverb", {14, 7}}},
    {{30, 181}, {"Spread", {14, 144}}},
    {{350, 44}, {"Diffuse", {335, 7}}},
    {{350, 318}, {"Mix", {343, 281}}},
    {{30, 318}, {"Warp", {19, 281}}},
    {{350, 181}, {"Diffuse", {335, 144}}},
}};

inline constexpr std::array<TextItem, 3> SubHeadings{{
    {"Size", {133, 7}},
    {"Feedback", {122, 144}},
    {"E.Ref.", {130, 281}},
}};

// How a knob's value v (0..1) becomes its text. A Number shows Square v^2 + Scale v + Offset with
// Decimals digits after the point and the suffix; a Frequency shows that many hertz, as "kHz"
// with one decimal from 1000 Hz and with none from WholeKilohertzFrom, and "Thru" when v is
// exactly ThruAt.
struct ValueTextRule {
  enum class Kind : std::uint8_t { Number, Frequency };
  Kind Type = Kind::Number;
  double Square = 0;
  double Scale = 0;
  double Offset = 0;
  std::int32_t Decimals = 0;
  std::string_view Suffix;
  double WholeKilohertzFrom = std::numeric_limits<double>::infinity();
  float ThruAt = -1.0f;  // outside 0..1: never
};

namespace rule {
constexpr ValueTextRule Number(double scale, double offset, std::string_view suffix, std::int32_t decimals = 0,
                               double square = 0) {
  return {ValueTextRule::Kind::Number, square, scale, offset, decimals, suffix};
}
constexpr ValueTextRule Percent(double scale, double offset = 0) { return Number(scale, offset, "%"); }
constexpr ValueTextRule Plain(double scale, double offset) { return Number(scale, offset, ""); }
constexpr ValueTextRule FilterFrequency(float thruAt) {
  return {ValueTextRule::Kind::Frequency, 19980, 0, 20, 0, "", 10000, thruAt};
}
}  // namespace rule

struct KnobControl {
  std::string_view Label;
  TPoint LabelAt;
  ValueTextRule Text;
};

// Index i is element i of the parameter block.
inline constexpr std::array<KnobControl, KnobCount> Knobs{{
    {"Rev. Time", {9, 67}, rule::Number(9.8, 0.1, "s", 1)},
    {"Color", {75, 67}, rule::Plain(100, 0)},
    {"Z", {140, 67}, rule::Plain(90, 10)},
    {"Density", {15, 127}, rule::Percent(87.5, 12.5)},
    {"X", {84, 127}, rule::Plain(90, 10)},
    {"Y", {140, 127}, rule::Plain(90, 10)},
    {"Level", {18, 204}, rule::Percent(100)},
    {"Phase", {73, 204}, rule::Percent(100)},
    {"Cross", {130, 204}, rule::Percent(100)},
    {"Pan", {22, 264}, rule::Percent(100)},
    {"LPF Freq.", {67, 264}, {ValueTextRule::Kind::Frequency, 9800, 0, 100, 0, ""}},
    {"Hi Ratio", {126, 264}, rule::Percent(100)},
    {"Size 1", {337, 67}, rule::Plain(99, 1)},
    {"Size 2", {395, 67}, rule::Plain(99, 1)},
    {"Gain 3", {450, 67}, rule::Percent(200, -100)},
    {"Size 3", {337, 127}, rule::Plain(99, 1)},
    {"Gain 1", {395, 127}, rule::Percent(200, -100)},
    {"Gain 2", {450, 127}, rule::Percent(200, -100)},
    {"Dry Level", {329, 341}, rule::Percent(100)},
    {"Wet Level", {385, 341}, rule::Percent(100)},
    {"Wet Gain", {443, 341}, rule::Number(36, -18, "db", 1)},
    {"HPF Freq.", {330, 401}, rule::FilterFrequency(0.0f)},
    {"LPF Freq.", {384, 401}, rule::FilterFrequency(1.0f)},
    {"Predelay", {444, 401}, rule::Number(0, 1, "ms", 0, 199)},
    {"Size X", {17, 341}, rule::Percent(20, -10)},
    {"Size Y", {75, 341}, rule::Percent(20, -10)},
    {"Density", {128, 341}, rule::Percent(87.5, 12.5)},
    {"Size Z", {17, 401}, rule::Percent(20, -10)},
    {"Size", {77, 401}, rule::Plain(90, 10)},
    {"Level", {131, 401}, rule::Percent(100)},
    {"Size X", {337, 204}, rule::Plain(99, 1)},
    {"Size Y", {395, 204}, rule::Plain(99, 1)},
    {"Gain Z", {450, 204}, rule::Percent(200, -100)},
    {"Size Z", {337, 264}, rule::Plain(99, 1)},
    {"Gain X", {395, 264}, rule::Percent(200, -100)},
    {"Gain Y", {450, 264}, rule::Percent(200, -100)},
}};

constexpr TPoint KnobCentre(int element) {
  const TPoint origin = KnobGroups[static_cast<std::size_t>(element / 6)].Origin;
  return {origin.X + KnobColumnStep * (element % 3), origin.Y + KnobRowStep * ((element / 3) % 2)};
}

// The title of the panel a knob sits on.
constexpr std::string_view KnobPanel(int element) { return KnobGroups[static_cast<std::size_t>(element / 6)].Title.Text; }

// A button: a rounded rim, a flat cap inside it and its label. It takes the mouse in HitArea,
// which is the rim (right and bottom exclusive, as every TRect).
struct ButtonControl {
  TextItem Label;
  TPoint RimAt;  // the rim is 42 x 16
  TPoint CapAt;  // the cap is 40 x 14
  TRect HitArea;
};

inline constexpr ButtonControl LibraryButton{{"Library", {237, 13}}, {230, 11}, {231, 12}, {230, 11, 272, 27}};
inline constexpr ButtonControl PowerSwitch{{"Power", {289, 13}}, {280, 11}, {281, 12}, {280, 11, 322, 27}};
// The lit "Power" label shown while the switch is held down.
inline constexpr TRect PowerLitArea{289, 13, 321, 25};

struct TitleWord {
  TextItem Word;
  std::int32_t CellSize;
};
inline constexpr TitleWord MakerWord{{"Quorel", {168, 8}}, 14};
inline constexpr TitleWord ProductName{{"Lumra Reverb", {186, 28}}, 16};

// The three dark display panels of the middle column, 152 x 104 each.
inline constexpr TPoint MeterPanelAt{170, 57};
inline constexpr TPoint DecayPanelAt{170, 181};
inline constexpr TPoint RoomPanelAt{170, 305};
inline constexpr std::int32_t DisplayPanelWidth = 152;
inline constexpr std::int32_t DisplayPanelHeight = 104;
// The level meter fills the upper panel inside its one-pixel frame.
inline constexpr TRect MeterArea{171, 58, 171 + 150, 58 + 102};

// Every label the face letters in "Arial": panel titles, sub-headings, knob labels and the two
// button labels (the title words are drawn apart, in bold).
inline constexpr std::int32_t LabelCellSize = 7;

inline constexpr std::string_view ProductLongName = "Quorel Lumra Reverb";

}  // namespace lumra::editor
