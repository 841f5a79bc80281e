#include "card/layout_step.h"

#include <gtest/gtest.h>

namespace velunorh {
namespace {

TEST(LayoutStepTest, StepsOneHundredthInsideTheLimitsOnly) {
  struct Case {
    const char* shown;
    int direction;
    int lower, upper;
    const char* expected;
  } cases[] = {
      {"1.50", +1, 100, 150, "1.50"},  // at the upper limit
      {"1.50", -1, 100, 150, "1.49"},
      {"1.00", -1, 100, 150, "1.00"},  // at the lower limit
      {"1.00", +5, 100, 150, "1.01"},  // the size of the request is ignored
      {"0.50", -1, 100, 150, "0.50"},  // outside: only back toward the limits
      {"0.50", +1, 100, 150, "0.51"},
      {"9.99", -1, 150, 220, "9.98"},
      {"9.99", +1, 150, 220, "9.99"},
      {"2.16", +1, 150, 220, "2.17"},
      {"2.20", +1, 150, 220, "2.20"},
      {"1.5", +1, 100, 150, "1.06"},  // read as the printing reads it: 1 inch 5 hundredths
      {"", +1, 100, 150, "0.01"},
      {"0.-5", +1, 100, 150, "0.01"},  // a hand-typed negative counts as zero
      {"x.yz", -1, 100, 150, "0.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StepLayoutValue(c.shown, c.direction, c.lower, c.upper), c.expected)
        << c.shown << " " << c.direction;
  }
}

TEST(LayoutStepTest, HundredthsTextHasTwoDigitsAfterThePoint) {
  EXPECT_EQ(HundredthsText(130), "1.30");
  EXPECT_EQ(HundredthsText(5), "0.05");
  EXPECT_EQ(HundredthsText(999), "9.99");
  EXPECT_EQ(HundredthsText(-3), "0.00");
}

}  // namespace
}  // namespace velunorh
