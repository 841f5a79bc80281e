#include "card/margin_calibration.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/string_table.h"
#include "card/layout_step.h"

namespace velunorh {
namespace {

constexpr double kMmPerHundredth = 0.254;
constexpr double kReadingStepMm = 0.5;
constexpr double kPi = 3.14159265358979323846;
constexpr int kLargestMargin = 999;  // 9.99 inches, the most a D.DD text holds

// One margin moved by `sumHalfMm` / 4 millimetres (the mean of two half-millimetre readings).
// Returns the millimetres it could not follow: below zero past 0.00, above zero past 9.99.
double MoveMargin(std::string_view margin, int sumHalfMm, std::string& moved) {
  // 1 hundredth of an inch is 0.254 mm: sumHalfMm / 4 mm is sumHalfMm * 125 / 127 hundredths.
  const long wanted = LayoutValueHundredths(margin) + std::lround(sumHalfMm * 125.0 / 127.0);
  const long kept = std::clamp<long>(wanted, 0, kLargestMargin);
  moved = HundredthsText(static_cast<int>(kept));
  return (wanted - kept) * kMmPerHundredth;
}

}  // namespace

std::string DecimalCommaText(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string result = text;
  if (const auto point = result.find('.'); point != std::string::npos) result[point] = ',';
  if (result.find_first_not_of("-0,") == std::string::npos && result[0] == '-') result.erase(0, 1);
  return result;
}

CalibrationPointPlaces CalibrationPointsOf(const CardLayout& layout) {
  return {LayoutValueHundredths(layout.X(kCalibrationPoint1)),
          LayoutValueHundredths(layout.Y(kCalibrationPoint1)),
          LayoutValueHundredths(layout.Body(kCalibrationPoint2Column)),
          LayoutValueHundredths(layout.Body(BodyValue::BodyTop)) +
              LayoutValueHundredths(layout.Body(BodyValue::BodyHeight))};
}

MarginCalibration SolveMarginCalibration(std::string_view leftMargin, std::string_view topMargin,
                                         const CardLayout& layout, CalibrationReading point1,
                                         CalibrationReading point2) {
  MarginCalibration result;
  const double leftOver =
      MoveMargin(leftMargin, point1.rightHalfMm + point2.rightHalfMm, result.leftMargin);
  const double topOver =
      MoveMargin(topMargin, point1.downHalfMm + point2.downHalfMm, result.topMargin);
  const std::string leftMm = DecimalCommaText(std::abs(leftOver), 1);
  const std::string topMm = DecimalCommaText(std::abs(topOver), 1);
  if (leftOver < 0)
    result.messages.push_back(LoadStringWith(StringId::CalibLeftBelowZero, {leftMm}));
  if (leftOver > 0)
    result.messages.push_back(LoadStringWith(StringId::CalibLeftTooLarge, {leftMm}));
  if (topOver < 0) result.messages.push_back(LoadStringWith(StringId::CalibTopBelowZero, {topMm}));
  if (topOver > 0) result.messages.push_back(LoadStringWith(StringId::CalibTopTooLarge, {topMm}));
  result.marginsInRange = leftOver == 0 && topOver == 0;

  // The line between the points on the card, and how much farther the second field lies from
  // the first than the second cross from the first.
  const CalibrationPointPlaces places = CalibrationPointsOf(layout);
  const double dx = (places.x2 - places.x1) * kMmPerHundredth;
  const double dy = (places.y2 - places.y1) * kMmPerHundredth;
  const double length = std::hypot(dx, dy);
  if (length < 1) return result;  // points on top of each other tell nothing of either
  const double differenceX = (point2.rightHalfMm - point1.rightHalfMm) / 2.0;
  const double differenceY = (point2.downHalfMm - point1.downHalfMm) / 2.0;
  const double along = (differenceX * dx + differenceY * dy) / length;
  const double across = (dx * differenceY - dy * differenceX) / length;

  // The fields are `length` apart on the card; the crosses were printed `length - along` apart.
  result.scalePercent = 100 * (length - along) / length;
  result.scaling = std::abs(along) > kReadingStepMm;
  result.skewDegrees = std::atan2(across, length) * 180 / kPi;
  result.skew = std::abs(across) > kReadingStepMm;
  if (result.scaling)
    result.messages.push_back(
        LoadStringWith(StringId::CalibScaling, {DecimalCommaText(result.scalePercent, 1)}));
  if (result.skew)
    result.messages.push_back(
        LoadStringWith(StringId::CalibSkew,
                       {DecimalCommaText(std::abs(result.skewDegrees), 1),
                        LoadString(result.skewDegrees > 0 ? StringId::CalibClockwise
                                                          : StringId::CalibCounterClockwise)}));
  return result;
}

}  // namespace velunorh
