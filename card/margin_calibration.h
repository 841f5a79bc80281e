#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "card/card_layout.h"

namespace velunorh {

// The two reference points of the calibration sheet, far apart on the card so that a printer
// that scales the page or a card fed askew shows up as a difference between their readings:
// the name's place at the top left of the header and the remarks column on the grid's last
// line (its total row).
inline constexpr HeaderPosition kCalibrationPoint1 = HeaderPosition::Name;
inline constexpr BodyValue kCalibrationPoint2Column = BodyValue::GridColumn7;

// The sheet's scales reach this far either side of a point, in half millimetres; a reading is
// taken in half millimetres too.
inline constexpr int kCalibrationScaleHalfMm = 10;

// Where the field of one point lies on that point's scales, in half millimetres: to the right
// of and below the printed cross count positive.
struct CalibrationReading {
  int rightHalfMm = 0;
  int downHalfMm = 0;
  bool operator==(const CalibrationReading&) const = default;
};

// What the two readings say.
struct MarginCalibration {
  std::string leftMargin;  // the new margins, D.DD inches
  std::string topMargin;
  bool marginsInRange = true;  // false: a margin was held at 0.00 or 9.99 (see messages)
  double scalePercent = 100;   // the print's size against the card's along the points' line
  bool scaling = false;
  double skewDegrees = 0;  // positive: the card turned clockwise against the print
  bool skew = false;
  // In the order to show them: margins that could not follow, scaling, skew.
  std::vector<std::string> messages;
};

// The two points in hundredths of an inch from the margins' corner.
struct CalibrationPointPlaces {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
CalibrationPointPlaces CalibrationPointsOf(const CardLayout& layout);

// The margins moved by the mean of the two readings, converted to hundredths of an inch and
// rounded to the nearest; a margin that would leave 0.00..9.99 stays at the end of that range
// and the rest is told in millimetres. The readings' difference along the line between the
// points beyond one reading step is scaling by the printer, across it a card fed askew; both
// are told, never taken into the margins.
MarginCalibration SolveMarginCalibration(std::string_view leftMargin, std::string_view topMargin,
                                         const CardLayout& layout, CalibrationReading point1,
                                         CalibrationReading point2);

// A number with a decimal comma and `decimals` digits after it ("97,4").
std::string DecimalCommaText(double value, int decimals);

}  // namespace velunorh
