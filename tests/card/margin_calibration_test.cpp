#include "card/margin_calibration.h"

#include <gtest/gtest.h>

#include "base/string_table.h"

namespace velunorh {
namespace {

// Readings in millimetres as typed (0.5 mm steps).
CalibrationReading Mm(double right, double down) {
  return {static_cast<int>(right * 2), static_cast<int>(down * 2)};
}

// On the defaults of card version 0 the points lie 3.30 in across and 3.24 in down from each
// other (117.5 mm apart), nearly on the diagonal.
TEST(MarginCalibrationTest, ReadingsGiveMarginsScalingAndSkew) {
  CardLayout layout;
  MakeDefaultLayout(layout, 0);
  struct Case {
    const char* what;
    const char* left;
    const char* top;
    CalibrationReading point1, point2;
    const char* newLeft;
    const char* newTop;
    bool inRange;
    double scalePercent, skewDegrees;
    std::vector<std::string> messages;
  } cases[] = {
      {"in place", "0.20", "0.00", Mm(0, 0), Mm(0, 0), "0.20", "0.00", true, 100, 0, {}},
      // 2 mm is 7.87 hundredths, 1 mm 3.94: rounded to the nearest.
      {"moved alike", "0.20", "0.00", Mm(2, 1), Mm(2, 1), "0.28", "0.04", true, 100, 0, {}},
      {"moved back", "0.30", "0.15", Mm(-2, -1), Mm(-2, -1), "0.22", "0.11", true, 100, 0, {}},
      // A mean of 0.25 mm is one hundredth; one step of difference is within the reading.
      {"one step apart",
       "0.20",
       "0.00",
       Mm(0.5, 0),
       Mm(0, 0),
       "0.21",
       "0.00",
       true,
       100.3,
       0.17,
       {}},
      // A margin never checked reads as the print reads it: 1 inch 5 hundredths.
      {"margin as read", "1.5", "0.00", Mm(1, 0), Mm(1, 0), "1.09", "0.00", true, 100, 0, {}},
      // The far point lies 2.8 mm farther out on the card than on the print: 97.6 %.
      {"scaled",
       "0.20",
       "0.00",
       Mm(0, 0),
       Mm(2, 2),
       "0.24",
       "0.04",
       true,
       97.6,
       0.01,
       {LoadStringWith(StringId::CalibScaling, {"97,6"})}},
      {"enlarged",
       "0.20",
       "0.10",
       Mm(1, 1),
       Mm(-1, -1),
       "0.20",
       "0.10",
       true,
       102.4,
       0,
       {LoadStringWith(StringId::CalibScaling, {"102,4"})}},
      // 2.1 mm across the 117.5 mm line, the card turned the other way round than the clock.
      {"askew",
       "0.20",
       "0.10",
       Mm(0, 0),
       Mm(1.5, -1.5),
       "0.23",
       "0.07",
       true,
       100,
       -1.03,
       {LoadStringWith(StringId::CalibSkew, {"1,0", LoadString(StringId::CalibCounterClockwise)})}},
      {"askew clockwise",
       "0.20",
       "0.10",
       Mm(1.5, -1.5),
       Mm(0, 0),
       "0.23",
       "0.07",
       true,
       100,
       1.03,
       {LoadStringWith(StringId::CalibSkew, {"1,0", LoadString(StringId::CalibClockwise)})}},
      // At the ends of the range: reaching them is fine, passing them is told.
      {"down to zero", "0.08", "0.04", Mm(-2, -1), Mm(-2, -1), "0.00", "0.00", true, 100, 0, {}},
      {"up to the largest", "9.91", "9.95", Mm(2, 1), Mm(2, 1), "9.99", "9.99", true, 100, 0, {}},
      {"left below zero",
       "0.02",
       "0.00",
       Mm(-2, 0),
       Mm(-2, 0),
       "0.00",
       "0.00",
       false,
       100,
       0,
       {LoadStringWith(StringId::CalibLeftBelowZero, {"1,5"})}},
      {"top below zero",
       "0.20",
       "0.00",
       Mm(0, -5),
       Mm(0, -5),
       "0.20",
       "0.00",
       false,
       100,
       0,
       {LoadStringWith(StringId::CalibTopBelowZero, {"5,1"})}},
      {"past the largest",
       "9.99",
       "9.95",
       Mm(0.5, 1.5),
       Mm(0.5, 1.5),
       "9.99",
       "9.99",
       false,
       100,
       0,
       {LoadStringWith(StringId::CalibLeftTooLarge, {"0,5"}),
        LoadStringWith(StringId::CalibTopTooLarge, {"0,5"})}},
      // Everything at once, in the order it is shown.
      {"all",
       "0.00",
       "0.00",
       Mm(-5, -5),
       Mm(-1, -3),
       "0.00",
       "0.00",
       false,
       96.4,
       -0.67,
       {LoadStringWith(StringId::CalibLeftBelowZero, {"3,0"}),
        LoadStringWith(StringId::CalibTopBelowZero, {"4,1"}),
        LoadStringWith(StringId::CalibScaling, {"96,4"}),
        LoadStringWith(StringId::CalibSkew, {"0,7", LoadString(StringId::CalibCounterClockwise)})}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const MarginCalibration result =
        SolveMarginCalibration(c.left, c.top, layout, c.point1, c.point2);
    EXPECT_EQ(result.leftMargin, c.newLeft);
    EXPECT_EQ(result.topMargin, c.newTop);
    EXPECT_EQ(result.marginsInRange, c.inRange);
    EXPECT_NEAR(result.scalePercent, c.scalePercent, 0.05);
    EXPECT_NEAR(result.skewDegrees, c.skewDegrees, 0.05);
    // Told exactly when beyond one reading step (0.5 mm of 117.5 mm: 0.43 %, 0.24 degrees).
    EXPECT_EQ(result.scaling, std::abs(c.scalePercent - 100) > 0.43);
    EXPECT_EQ(result.skew, std::abs(c.skewDegrees) > 0.24);
    EXPECT_EQ(result.messages, c.messages);
  }
}

TEST(MarginCalibrationTest, DecimalCommaText) {
  EXPECT_EQ(DecimalCommaText(97.64, 1), "97,6");
  EXPECT_EQ(DecimalCommaText(-0.01, 1), "0,0");
  EXPECT_EQ(DecimalCommaText(-1.26, 1), "-1,3");
}

}  // namespace
}  // namespace velunorh
