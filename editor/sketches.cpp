#include "editor/sketches.h"

#include <array>

#include "common/exact_math.h"
#include "common/random.h"
#include "gui/canvas.h"

namespace lumra::editor {
namespace {

// A pen that remembers where it is, as a canvas's MoveTo and LineTo do.
class Pen {
 public:
  Pen(TFDIB& surface, TColor color) : surface_(surface), color_(color) {}
  void SetColor(TColor color) { color_ = color; }
  void MoveTo(std::int32_t x, std::int32_t y) {
    x_ = x;
    y_ = y;
  }
  void LineTo(std::int32_t x, std::int32_t y) {
    PenLine(surface_, x_, y_, x, y, color_);
    MoveTo(x, y);
  }

 private:
  TFDIB& surface_;
  TColor color_;
  std::int32_t x_ = 0;
  std::int32_t y_ = 0;
};

}  // namespace

int DrawDecaySketch(TFDIB& surface, const ParamBlock& block) {
  const std::array<double, KnobCount> p = ClampedKnobValues(block);
  Pen pen(surface, 0x0060C0);
  pen.MoveTo(179, 192);  // axes
  pen.LineTo(179, 276);
  pen.LineTo(312, 276);
  pen.SetColor(0x8080FF);  // direct sound
  pen.MoveTo(179, 275);
  pen.LineTo(179, 275 - RoundToInt32(86 * p[knob::DryLevel]));

  // The pre-delay at 0.067 pixel per millisecond.
  const double predelay = p[knob::Predelay];
  const auto d = static_cast<float>((199 * (predelay * predelay) + 1) * 0.005 * 13.4);
  RandomGenerator random(static_cast<std::uint32_t>(RoundToInt32(65536 * p[knob::Color])));
  int lines = 0;
  for (int n = 0; n + double{d} < 132; ++n, ++lines) {
    const double a = static_cast<double>(random.Random(141)) - 70;
    const double k = (0.01 * a * p[knob::SpreadPhase] + 1) * 0.1 + (0.1 * p[knob::Density] + 0.5);
    const double b = static_cast<double>(random.Random(101)) - 50;
    const std::int32_t s = RoundToInt32(0.01 * b * 64 * p[knob::SpreadPan]);
    const TColor tint = 0x800000u | (static_cast<std::uint32_t>(0x80 + s) << 8) | 0xFFu;
    pen.SetColor(ScaleColor(tint, static_cast<float>(k)));
    auto h = static_cast<float>(67.2 - (n / 64.0) * 67.2 / (9.8 * p[knob::ReverbTime] + 0.1));
    h = static_cast<float>(h * p[knob::WetLevel]);
    const double c = random.Random(101);
    const double spread = 0.01 * c * p[knob::SpreadLevel];
    h = static_cast<float>((1 - spread * spread) * h);
    if (h > 84) h = 84;
    if (!(h >= 0)) h = 0;
    const std::int32_t x = RoundToInt32(n + double{d}) + 180;
    pen.MoveTo(x, 275);
    pen.LineTo(x, 275 - RoundToInt32(h));
  }
  return lines;
}

void DrawRoomSketch(TFDIB& surface, const ParamBlock& block) {
  const std::array<double, KnobCount> p = ClampedKnobValues(block);
  const double x = p[knob::SizeX], y = p[knob::SizeY], z = p[knob::SizeZ];
  const double back = 1 - z / 2, front = 1 + z / 2;
  const auto w = [&](double k) { return RoundToInt32(28 * k * x + 2); };
  const auto h = [&](double k) { return RoundToInt32(28 * k * y + 2); };
  constexpr std::int32_t cx = 246, cy = 357;
  constexpr TColor colour = 0x8080FF;
  PenRectangle(surface, {cx - w(back), cy - h(back), cx + w(back), cy + h(back)}, colour);
  PenRectangle(surface, {cx - w(front), cy - h(front), cx + w(front), cy + h(front)}, colour);
  // Back corners to front corners: top left, bottom right, bottom left, top right.
  for (const auto [sx, sy] : {std::array{-1, -1}, std::array{1, 1}, std::array{-1, 1}, std::array{1, -1}})
    PenLine(surface, cx + sx * w(back), cy + sy * h(back), cx + sx * w(front), cy + sy * h(front), colour);
}

}  // namespace lumra::editor
