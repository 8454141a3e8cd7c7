#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "editor/value_text.h"
#include "plugin/param_block.h"

namespace lumra::editor {

TEST(ValueText, EveryElementAtBothEndsInBetweenAndOutOfRange) {
  // Element i's texts at 0, 1 and 0.3, worked out from its scale by hand.
  const std::array<std::array<const char*, 3>, KnobCount> texts{{
      {"0.1s", "9.9s", "3.0s"},    {"0", "100", "30"},           {"10", "100", "37"},
      {"13%", "100%", "39%"},      {"10", "100", "37"},          {"10", "100", "37"},
      {"0%", "100%", "30%"},       {"0%", "100%", "30%"},        {"0%", "100%", "30%"},
      {"0%", "100%", "30%"},       {"100Hz", "9.9kHz", "982Hz"}, {"0%", "100%", "30%"},
      {"1", "100", "31"},          {"1", "100", "31"},           {"-100%", "100%", "-40%"},
      {"1", "100", "31"},          {"-100%", "100%", "-40%"},    {"-100%", "100%", "-40%"},
      {"0%", "100%", "30%"},       {"0%", "100%", "30%"},        {"-18.0db", "18.0db", "-7.2db"},
      {"Thru", "20kHz", "1.8kHz"}, {"20Hz", "Thru", "1.8kHz"},   {"1ms", "200ms", "19ms"},
      {"-10%", "10%", "-4%"},      {"-10%", "10%", "-4%"},       {"13%", "100%", "39%"},
      {"-10%", "10%", "-4%"},      {"10", "100", "37"},          {"0%", "100%", "30%"},
      {"1", "100", "31"},          {"1", "100", "31"},           {"-100%", "100%", "-40%"},
      {"1", "100", "31"},          {"-100%", "100%", "-40%"},    {"-100%", "100%", "-40%"},
  }};
  for (int e = 0; e < KnobCount; ++e) {
    const auto& [zero, one, ordinary] = texts[static_cast<std::size_t>(e)];
    EXPECT_EQ(ValueText(e, 0.0f), zero) << e;
    EXPECT_EQ(ValueText(e, 1.0f), one) << e;
    EXPECT_EQ(ValueText(e, 0.3f), ordinary) << e;
    // Shown as the effect holds the value: NaN as 0, the rest clamped to 0..1.
    EXPECT_EQ(ValueText(e, std::numeric_limits<float>::quiet_NaN()), zero) << e;
    EXPECT_EQ(ValueText(e, -1.0f), zero) << e;
    EXPECT_EQ(ValueText(e, 2.0f), one) << e;
  }
}

TEST(ValueText, ThruKilohertzRoundingAndSeparator) {
  EXPECT_EQ(ValueText(21, 1e-7f), "20Hz");         // "Thru" only at exactly 0 ...
  EXPECT_EQ(ValueText(22, 0.99999994f), "20kHz");  // ... or exactly 1
  EXPECT_EQ(ValueText(10, 0.32f), "1.1kHz");       // 1103.5 Hz
  EXPECT_EQ(ValueText(22, 0.75f), "11kHz");        // 11258.75 Hz: whole kilohertz from 10 kHz
  EXPECT_EQ(ValueText(20, 0.5f), "0.0db");
  EXPECT_EQ(ValueText(20, 0.499f), "0.0db");  // -0.036 rounds to a zero without sign
  // Exact halves round away from zero on both sides.
  EXPECT_EQ(ValueText(6, 0.125f), "13%");        // 12.5
  EXPECT_EQ(ValueText(14, 0.4375f), "-13%");     // -12.5
  EXPECT_EQ(ValueText(20, 0.1875f), "-11.3db");  // -11.25
  EXPECT_EQ(ValueText(20, 0.8125f), "11.3db");   // 11.25
  EXPECT_EQ(ValueText(0, 0.2f, ','), "2,1s");
  EXPECT_EQ(ValueText(10, 0.32f, ','), "1,1kHz");
  EXPECT_EQ(ValueText(20, 0.5f, ','), "0,0db");
  EXPECT_EQ(ValueText(23, 0.5f, ','), "51ms");
}

}  // namespace lumra::editor
