#include <gtest/gtest.h>

#include <limits>

#include "../gui/pixels.h"
#include "editor/control_table.h"
#include "editor/level_meter.h"

namespace lumra::editor {
namespace {

constexpr std::int32_t kNewest = LevelMeter::Width - 1;
constexpr TPixel kWhite = 0xFFFFFFFF;
constexpr TPixel kFullScale = 0xFF6060C0;  // MixColor(0x404080, 0x6060C0, 1)

}  // namespace

TEST(MeterLevel, LogarithmicOver90DecibelsBelowFullScale) {
  EXPECT_DOUBLE_EQ(MeterLevel(1.0f), 1.0);
  EXPECT_NEAR(MeterLevel(2.0f), 16.0 / 15, 1e-12);
  EXPECT_EQ(MeterLevel(0.0f), 0.0);
  EXPECT_EQ(MeterLevel(1.0f / 65536), 0.0);
  EXPECT_EQ(MeterLevel(std::numeric_limits<float>::quiet_NaN()), 0.0);
}

TEST(LevelMeter, ColumnsFromTheBottomOrTheMiddleScrollLeft) {
  LevelMeter mono, stereo;
  mono.Tick(1, 1, 1);
  mono.Tick(0, 0, 1);  // silence: a white column; the loud one moves one pixel left
  stereo.Tick(1, 1, 2);
  for (std::int32_t y = 0; y < LevelMeter::Height; ++y) {
    EXPECT_EQ(PixelAt(mono.History(), kNewest - 1, y), y == 0 ? kWhite : kFullScale) << y;
    EXPECT_EQ(PixelAt(mono.History(), kNewest, y), kWhite) << y;
    EXPECT_EQ(PixelAt(mono.History(), kNewest - 2, y), kWhite) << y;
    EXPECT_EQ(PixelAt(stereo.History(), kNewest, y), kFullScale) << y;
  }
  stereo.Tick(0.1f, 0, 2);  // -20 dB on the left only: 44 pixels up from the middle row
  for (std::int32_t y = 0; y < LevelMeter::Height; ++y)
    EXPECT_EQ(PixelAt(stereo.History(), kNewest, y) == kWhite, y > 51 || y < 8) << y;
}

TEST(LevelMeter, ComposeOverShowsTheFaceWhereTheHistoryIsWhite) {
  TFDIB back(FaceWidth, FaceHeight), strip(LevelMeter::Width, LevelMeter::Height);
  for (std::int32_t y = 0; y < FaceHeight; ++y)
    for (std::int32_t x = 0; x < FaceWidth; ++x) SetPixel(back, x, y, 0x7F000000u | static_cast<TPixel>(1000 * x + y));
  LevelMeter meter;
  meter.Tick(1, 0, 1);
  meter.Tick(0, 0, 1);
  meter.ComposeOver(back, strip);
  for (std::int32_t y = 0; y < LevelMeter::Height; ++y)
    for (std::int32_t x = 0; x < LevelMeter::Width; ++x) {
      const TPixel face = PixelAt(back, MeterArea.Left + x, MeterArea.Top + y) & 0xFFFFFF;
      ASSERT_EQ(PixelAt(strip, x, y), x == kNewest - 1 && y > 0 ? 0x6060C0u : face) << x << ", " << y;
    }
}

}  // namespace lumra::editor
