#include "card/calibration_sheet.h"

#include <algorithm>
#include <vector>

#include "base/string_table.h"
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
        LoadString(StringId::CalibrationNoteHowTo)};
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
