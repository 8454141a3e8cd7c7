#pragma once
// The scrolling level meter of the upper display panel: every tick the picture moves one pixel to
// the left and a new column on the right plots the latest peak on a logarithmic scale of 90.3 dB,
// left channel up and right channel down from the middle line for stereo, one trace from the
// bottom for mono. White is the picture's transparent colour and its initial content.

#include <cstdint>

#include "gui/fdib.h"

namespace lumra::editor {

// 1 + ln p / ln 32768, 0 for p = 0 and below 1/32768, more than 1 above full scale.
double MeterLevel(float peak);

class LevelMeter {
 public:
  static constexpr std::int32_t Width = 150;
  static constexpr std::int32_t Height = 102;
  static constexpr TColor Transparent = 0xFFFFFF;

  LevelMeter();

  // Scrolls and draws the new column for the peaks of the last block measured.
  void Tick(float peakLeft, float peakRight, std::int32_t channelCount);

  // The meter's picture over the face: what the panel's area of backBuffer shows, with the
  // meter's non-white pixels drawn over it. Width x Height, for the window at the meter's place.
  void ComposeOver(const TFDIB& backBuffer, TFDIB& strip) const;

  const TFDIB& History() const { return history_; }

 private:
  TFDIB history_;
};

}  // namespace lumra::editor
