#include "editor/level_meter.h"

#include <cmath>

#include "common/exact_math.h"
#include "editor/control_table.h"
#include "gui/canvas.h"
#include "gui/pixelmath.h"

namespace lumra::editor {
namespace {

constexpr TColor QuietTrace = 0x404080;
constexpr TColor LoudTrace = 0x6060C0;

// Trace lengths are rounded in pixels; a peak far above full scale only runs further off the
// picture, so the length is held where it cannot overflow.
std::int32_t TraceLength(double scale, double level) {
  return RoundToInt32(std::fmin(scale * level, 1.0e6));
}

}  // namespace

double MeterLevel(float peak) {
  if (!(peak > 0.0f)) return 0.0;  // silence, or not a magnitude: nothing to show
  const double m = (std::log(double{peak}) + 10.39720770839918) * 0.09617966939259756;
  return m < 0 ? 0.0 : m;
}

LevelMeter::LevelMeter() : history_(Width, Height) {
  for (std::int32_t y = 0; y < Height; ++y)
    for (TPixel& p : history_.ScanLine(y)) p = kAlphaMask | Transparent;
}

void LevelMeter::Tick(float peakLeft, float peakRight, std::int32_t channelCount) {
  CopyRect(history_, 0, 0, history_, {1, 0, Width, Height}, CopyMode::SourceCopy);
  PenLine(history_, Width - 1, 0, Width - 1, Height, Transparent);
  const double left = MeterLevel(peakLeft);
  const std::int32_t x = Width - 1;
  if (channelCount == 2) {
    const double right = MeterLevel(peakRight);
    const std::int32_t middle = Height / 2;
    PenLine(history_, x, middle, x, middle - TraceLength(56, left), MixColor(QuietTrace, LoudTrace, static_cast<float>(left)));
    PenLine(history_, x, middle, x, middle + TraceLength(56, right), MixColor(QuietTrace, LoudTrace, static_cast<float>(right)));
  } else {
    PenLine(history_, x, Height, x, Height - TraceLength(102, left), MixColor(QuietTrace, LoudTrace, static_cast<float>(left)));
  }
}

void LevelMeter::ComposeOver(const TFDIB& backBuffer, TFDIB& strip) const {
  CopyRect(strip, 0, 0, backBuffer, MeterArea, CopyMode::SourceCopy);
  for (std::int32_t y = 0; y < Height; ++y) {
    const auto from = history_.ScanLine(y);
    const auto into = strip.ScanLine(y);
    for (std::size_t x = 0; x < from.size() && x < into.size(); ++x)
      if ((from[x] & ~kAlphaMask) != Transparent) into[x] = (into[x] & kAlphaMask) | (from[x] & ~kAlphaMask);
  }
}

}  // namespace lumra::editor
