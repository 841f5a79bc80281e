#include "card/calibration_sheet.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/string_table.h"
#include "card/margin_calibration.h"
#include "card/print_units.h"

namespace velunorh {
namespace {

using P = HeaderPosition;

// Where a cross's name goes. The figures of the grid end at their column, so those names end
// there too and the columns' names do not run into each other; the rows' names go outside the
// grid, above the first row and below the total.
enum class LabelSide { kBelowRight, kAboveLeft, kAboveRight, kBelowLeft };

struct Cross {
  int x = 0;
  int y = 0;
  std::string label;
  LabelSide side = LabelSide::kBelowRight;
  int line = 0;    // neighbouring columns' names alternate between two lines
  int shiftX = 0;  // extra distance from the cross, to clear the ruler's ticks
  int point = 0;   // 1 or 2: a reference point of the calibration, with its scales
};

class SheetPrinter {
 public:
  SheetPrinter(Surface& surface, const CalibrationSheetInput& input)
      : surface_(surface),
        input_(input),
        units_(PageUnits::For(surface, input.leftMargin, input.topMargin)) {}

  void Print() {
    CollectHeader();
    CollectGrid();
    surface_.SetTextColor(kBlack);
    const int notesTop = DrawRulers();
    surface_.SetFont(PointFont("Arial", 60, units_.vres));
    for (const Cross& cross : crosses_) DrawCross(cross);
    for (const Cross& cross : crosses_)
      if (cross.point != 0) DrawScales(cross);
    DrawNotes(notesTop);
  }

 private:
  int Across(int hundredths) const { return units_.hres * hundredths / 100; }
  int Down(int hundredths) const { return units_.vres * hundredths / 100; }

  // Every header item where the header block prints it.
  void CollectHeader() {
    const CardLayout& layout = input_.layout;
    for (int i = 0; i < kHeaderPositionCount; ++i) {
      const auto position = static_cast<P>(i);
      const std::string& name = input_.names.header[i];
      if (name.empty()) continue;
      // A gender box switched off with X 0 prints nothing.
      if ((position == P::Male || position == P::Female) &&
          LayoutValueToDevice(layout.X(position), units_.hres) == 0)
        continue;
      // The answer prints on the immersion date's line.
      const P yOf = position == P::AnointedOrOtherSheep ? P::DateImmersed : position;
      crosses_.push_back({units_.X(layout.X(position)), units_.Y(layout.Y(yOf)), name});
      if (position == kCalibrationPoint1) crosses_.back().point = 1;
    }
  }

  // The grid's first row and its total row as the monthly grid places them.
  void CollectGrid() {
    const CardLayout& layout = input_.layout;
    const int top = units_.Y(layout.Body(BodyValue::BodyTop));
    const int rowHeight = LayoutValueToDevice(layout.Body(BodyValue::BodyHeight), units_.vres) / 12;
    const int total = top + 12 * rowHeight;

    const std::string& topName = input_.names.body[static_cast<int>(BodyValue::BodyTop)];
    if (!topName.empty())
      crosses_.push_back({units_.left, top, topName, LabelSide::kBelowRight, 0, Across(17)});

    for (int g = 0; g < 7; ++g) {
      const auto column = static_cast<BodyValue>(static_cast<int>(BodyValue::GridColumn1) + g);
      const std::string& name = input_.names.body[static_cast<int>(column)];
      if (name.empty()) continue;
      const int x = units_.X(layout.Body(column));
      const bool remarks = column == BodyValue::GridColumn7;  // the remark begins at its column
      const int line = g % 2;
      crosses_.push_back(
          {x, top, name, remarks ? LabelSide::kAboveRight : LabelSide::kAboveLeft, line});
      if (column == kCalibrationPoint2Column) {
        // The scales take the space below and right of this cross: its name goes above, a
        // line higher, clear of the neighbouring column's cross.
        crosses_.push_back({x, total, name, LabelSide::kAboveLeft, 1, 0, 2});
        continue;
      }
      crosses_.push_back(
          {x, total, name, remarks ? LabelSide::kBelowRight : LabelSide::kBelowLeft, line});
    }
  }

  // Arms of 0.1 inch in all, ending at the same distance on either side of the centre.
  void DrawCross(const Cross& cross) {
    const int armX = Across(5), armY = Down(5);
    surface_.DrawLine(cross.x - armX, cross.y, cross.x + armX, cross.y);
    surface_.DrawLine(cross.x, cross.y - armY, cross.x, cross.y + armY);

    const int gapX = Across(3) + cross.shiftX;
    const int gapY = Down(3) + cross.line * Down(10);
    switch (cross.side) {
      case LabelSide::kBelowRight:
        surface_.DrawText(cross.x + gapX, cross.y + gapY, cross.label, HAlign::kLeft, VAlign::kTop);
        break;
      case LabelSide::kBelowLeft:
        surface_.DrawText(cross.x - gapX, cross.y + gapY, cross.label, HAlign::kRight,
                          VAlign::kTop);
        break;
      case LabelSide::kAboveLeft:
        surface_.DrawText(cross.x - gapX, cross.y - gapY, cross.label, HAlign::kRight,
                          VAlign::kBottom);
        break;
      case LabelSide::kAboveRight:
        surface_.DrawText(cross.x + gapX, cross.y - gapY, cross.label, HAlign::kLeft,
                          VAlign::kBottom);
        break;
    }
  }

  // Millimetre scales of a reference point, reaching kCalibrationScaleHalfMm either side of the
  // cross, a tick every half millimetre and a figure every millimetre, the zero tick in line
  // with the cross. They lie off the cross, on the side away from the card's other items
  // (above and left of the first point at the header's corner, below and right of the second
  // at the grid's), so that neither they nor their figures cover another cross. The
  // figures carry no sign, for "-5" does not fit a millimetre; the signs stand at the ends.
  void DrawScales(const Cross& cross) {
    const bool outward = cross.point == 2;  // below and right; else above and left
    const int side = outward ? 1 : -1;
    const int acrossLine = cross.y + side * MmDown(kScaleOffsetMm);  // the across scale's line
    const int downLine = cross.x + side * MmAcross(kDownScaleOffsetMm);
    const int reach = kCalibrationScaleHalfMm;
    surface_.SetFont(PointFont("Arial", kScaleFigureTenths, units_.vres));
    const int figureHeight = PointFont("Arial", kScaleFigureTenths, units_.vres).emHeight;

    surface_.DrawLine(cross.x + HalfMmAcross(-reach), acrossLine, cross.x + HalfMmAcross(reach),
                      acrossLine);
    surface_.DrawLine(downLine, cross.y + HalfMmDown(-reach), downLine,
                      cross.y + HalfMmDown(reach));
    for (int half = -reach; half <= reach; ++half) {
      const int x = cross.x + HalfMmAcross(half);
      const int y = cross.y + HalfMmDown(half);
      const double length = ScaleTickMm(half);
      surface_.DrawLine(x, acrossLine, x, acrossLine + side * MmDown(length));
      surface_.DrawLine(downLine, y, downLine + side * MmAcross(length), y);
      if (half % 2 != 0) continue;
      const std::string figure = std::to_string(std::abs(half / 2));
      const int width = surface_.TextWidth(figure);
      // The figures stand in one line past the longest ticks.
      const int figureGap = MmDown(ScaleTickMm(0) + 0.2);
      surface_.DrawText(x - width / 2, acrossLine + side * figureGap, figure, HAlign::kLeft,
                        outward ? VAlign::kTop : VAlign::kBottom);
      const int beside = downLine + side * MmAcross(ScaleTickMm(0) + 0.2);
      surface_.DrawText(beside, y - figureHeight / 2, figure,
                        outward ? HAlign::kLeft : HAlign::kRight, VAlign::kTop);
    }
    // The signs beyond the ends of each scale.
    const int endGap = MmAcross(0.8);
    surface_.DrawText(cross.x + HalfMmAcross(-reach) - endGap, acrossLine - figureHeight / 2,
                      "\xE2\x88\x92", HAlign::kRight, VAlign::kTop);
    surface_.DrawText(cross.x + HalfMmAcross(reach) + endGap, acrossLine - figureHeight / 2, "+",
                      HAlign::kLeft, VAlign::kTop);
    const int signX = downLine - surface_.TextWidth("+") / 2;
    surface_.DrawText(signX, cross.y + HalfMmDown(-reach) - MmDown(0.5), "\xE2\x88\x92",
                      HAlign::kLeft, VAlign::kBottom);
    surface_.DrawText(signX, cross.y + HalfMmDown(reach) + MmDown(0.5), "+", HAlign::kLeft,
                      VAlign::kTop);

    // The point's number, large, past the far end of its down scale.
    surface_.SetFont(PointFont("Arial", 120, units_.vres));
    surface_.DrawText(downLine, cross.y - side * MmDown(7), std::to_string(cross.point),
                      outward ? HAlign::kLeft : HAlign::kRight,
                      outward ? VAlign::kBottom : VAlign::kTop);
    surface_.SetFont(PointFont("Arial", 60, units_.vres));
  }

  int MmAcross(double mm) const { return static_cast<int>(std::lround(units_.hres * mm / 25.4)); }
  int MmDown(double mm) const { return static_cast<int>(std::lround(units_.vres * mm / 25.4)); }
  int HalfMmAcross(int half) const { return MmAcross(half / 2.0); }
  int HalfMmDown(int half) const { return MmDown(half / 2.0); }

  // Whole inches that reach past every cross by at least one inch.
  static int RulerInches(int farthest, int unitsPerInch) {
    if (unitsPerInch <= 0) return 1;
    return std::max(0, (farthest + unitsPerInch - 1) / unitsPerInch) + 1;
  }

  // Counting from the margin origin: a tick every tenth of an inch, longer at the half inch
  // and longer still at the inch, with the inch's figure beside it. The across ruler lies
  // below every cross, its ticks rising from its line; the down ruler lies right of every
  // cross, its ticks reaching left. Returns where the space below the rulers begins.
  int DrawRulers() {
    int right = 0, bottom = 0;
    for (const Cross& cross : crosses_) {
      right = std::max(right, cross.x - units_.left);
      bottom = std::max(bottom, cross.y - units_.top);
    }
    const int across = RulerInches(right, units_.hres);
    const int down = RulerInches(bottom, units_.vres);
    const int x0 = units_.left, y0 = units_.top;
    const int acrossLine = y0 + down * units_.vres;  // the across ruler's line
    const int downLine = x0 + across * units_.hres;  // the down ruler's line

    surface_.SetFont(PointFont("Arial", 80, units_.vres));
    surface_.DrawLine(x0, acrossLine, downLine, acrossLine);
    for (int tenth = 0; tenth <= 10 * across; ++tenth) {
      const int x = x0 + units_.hres * tenth / 10;
      surface_.DrawLine(x, acrossLine - Down(TickLength(tenth)), x, acrossLine);
      if (tenth % 10 == 0)
        surface_.DrawText(x + Across(2), acrossLine + Down(2), std::to_string(tenth / 10),
                          HAlign::kLeft, VAlign::kTop);
    }
    surface_.DrawLine(downLine, y0, downLine, acrossLine);
    for (int tenth = 0; tenth <= 10 * down; ++tenth) {
      const int y = y0 + units_.vres * tenth / 10;
      surface_.DrawLine(downLine - Across(TickLength(tenth)), y, downLine, y);
      // The corner's figure is the across ruler's.
      if (tenth % 10 == 0 && tenth < 10 * down)
        surface_.DrawText(downLine + Across(2), y + Down(2), std::to_string(tenth / 10),
                          HAlign::kLeft, VAlign::kTop);
    }
    return acrossLine + Down(25);
  }

  // Small lines below the rulers, one under the other.
  void DrawNotes(int top) {
    const std::string lines[] = {
        LoadStringWith(StringId::CalibrationNoteCard,
                       {input_.cardVersionName, input_.leftMargin, input_.topMargin}),
        LoadStringWith(StringId::CalibrationNotePrinter, {input_.printerName, input_.date}),
        LoadString(StringId::CalibSheetHowTo)};
    int y = top;
    for (const std::string& line : lines) {
      surface_.DrawText(units_.left, y, line, HAlign::kLeft, VAlign::kTop);
      y += Down(12);
    }
  }

  // In hundredths of an inch.
  static int TickLength(int tenth) {
    if (tenth % 10 == 0) return 15;
    if (tenth % 5 == 0) return 10;
    return 5;
  }

  // In millimetres: the longest at zero and at the ends, long at the millimetre.
  static double ScaleTickMm(int half) {
    if (half == 0 || std::abs(half) == kCalibrationScaleHalfMm) return 1.8;
    return half % 2 == 0 ? 1.2 : 0.7;
  }
  static constexpr double kScaleOffsetMm = 2.0;  // from the cross to the across scale's line
  // The down scale stands past the across scale's end, so that their figures never meet.
  static constexpr double kDownScaleOffsetMm = 7.0;
  static constexpr int kScaleFigureTenths = 30;  // 3 points: a figure fits its millimetre

  Surface& surface_;
  const CalibrationSheetInput& input_;
  PageUnits units_;
  std::vector<Cross> crosses_;
};

}  // namespace

void PrintCalibrationSheet(Surface& surface, const CalibrationSheetInput& input) {
  SheetPrinter(surface, input).Print();
}

}  // namespace velunorh
