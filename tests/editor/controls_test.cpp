#include <gtest/gtest.h>

#include <limits>

#include "editor/controls.h"

namespace lumra::editor {

TEST(KnobFrame, HoldsTheValueAndRoundsHalvesToEven) {
  EXPECT_EQ(KnobFrame(0.0f), 0);
  EXPECT_EQ(KnobFrame(1.0f), 63);
  EXPECT_EQ(KnobFrame(0.5f), 32);  // 31.5
  EXPECT_EQ(KnobFrame(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(KnobFrame(7.0f), 63);
  EXPECT_EQ(KnobFrame(-3.0f), 0);
}

TEST(HitTest, KnobsAndButtonsTakeTheMouseInsideTheirReach) {
  EXPECT_EQ(KnobAt(53, 44), 0);  // knob 0 is centred on (30, 44)
  EXPECT_EQ(KnobAt(54, 44), std::nullopt);
  EXPECT_EQ(KnobAt(7, 44), 0);
  EXPECT_EQ(KnobAt(6, 44), std::nullopt);
  EXPECT_EQ(KnobAt(30, 68), std::nullopt);
  for (int e = 0; e < KnobCount; ++e) EXPECT_EQ(KnobAt(KnobCentre(e).X, KnobCentre(e).Y), e);
  EXPECT_TRUE(Contains(LibraryButton.HitArea, 230, 11));
  EXPECT_FALSE(Contains(LibraryButton.HitArea, 272, 11));
  EXPECT_TRUE(Contains(LibraryButton.HitArea, 271, 26));
  EXPECT_TRUE(Contains(PowerSwitch.HitArea, 280, 26));
  EXPECT_FALSE(Contains(PowerSwitch.HitArea, 280, 27));
}

TEST(AngleValue, ClockwiseFromStraightDownHeldTo30To330Degrees) {
  const auto [x, y] = KnobCentre(7);
  EXPECT_EQ(AngleValue(7, x, y - 10), 0.5f);        // above
  EXPECT_EQ(AngleValue(7, x - 10, y), 0.2f);        // left
  EXPECT_EQ(AngleValue(7, x + 10, y), 0.8f);        // right
  EXPECT_EQ(AngleValue(7, x, y + 10), 0.0f);        // below
  EXPECT_EQ(AngleValue(7, x, y), 0.0f);             // on the centre
  EXPECT_EQ(AngleValue(7, x - 18, y + 100), 0.0f);  // 10 degrees either side of straight down
  EXPECT_EQ(AngleValue(7, x + 18, y + 100), 1.0f);
  EXPECT_NEAR(AngleValue(7, x - 100, y - 100), 0.35f, 1e-6);  // 135 degrees
  // Only the direction counts, however far the pointer has gone.
  EXPECT_EQ(AngleValue(7, x - 5000, y), 0.2f);
  EXPECT_NEAR(AngleValue(7, x + 5000, y - 5000), 0.65f, 1e-6);
}

}  // namespace lumra::editor
