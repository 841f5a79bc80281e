#include "card/monthly_grid_pass.h"

#include "card/grid_values.h"
#include "card/print_units.h"
#include "card/quarter_hours.h"

namespace velunorh {
namespace {

// Rows of the running service year print in normal mode; the rest in previous-year mode.
bool RowPrints(const MonthlyGridInput& input, int row) {
  const bool runningYearRow = row < input.year.ElapsedMonths();
  if (input.year.previousServiceYear == runningYearRow) return false;
  return input.monthRow[row];
}

BodyValue ValueColumn(std::size_t g) {
  return static_cast<BodyValue>(static_cast<int>(BodyValue::GridColumn1) + static_cast<int>(g));
}

}  // namespace

void PrintMonthlyGrid(Surface& surface, CongregationData& data, const MonthlyGridInput& input) {
  if (input.slot < 1 || !data.current.IsLoaded(input.slot)) return;
  const PageUnits units = PageUnits::For(surface, input.leftMargin, input.topMargin);
  const CardLayout& layout = input.layout;
  const int top = units.Y(layout.Body(BodyValue::BodyTop));
  const int rowHeight = LayoutValueToDevice(layout.Body(BodyValue::BodyHeight), units.vres) / 12;
  const std::span<const ValueKind> kinds = GridKinds(input.newForm);
  const int remarkX = units.X(layout.Body(BodyValue::GridColumn7));

  surface.SetFont({"Arial", GridFontHeight(units.vres), 400, input.fontCharset});
  surface.SetTextColor(kBlack);

  for (int row = 0; row < 12; ++row) {
    if (!RowPrints(input, row)) continue;
    const int month = ServiceYear::RowMonth(row);
    const int y = top + row * rowHeight;
    for (std::size_t g = 0; g < kinds.size(); ++g) {
      const std::string text =
          MonthCellText(data, input.year, input.slot, month, kinds[g], input.newForm);
      if (!text.empty())
        surface.DrawText(units.X(layout.Body(ValueColumn(g))), y, text, HAlign::kRight,
                         VAlign::kTop);
    }
    const std::string remark = MonthRemark(data, input.year, input.slot, month);
    if (!remark.empty()) surface.DrawText(remarkX, y, remark, HAlign::kLeft, VAlign::kTop);
  }

  if (input.printTotal) {
    const int y = top + 12 * rowHeight;
    for (std::size_t g = 0; g < kinds.size(); ++g) {
      const MonthSum total = SumMonths(data, input.year, input.slot, kinds[g], 12, input.newForm);
      surface.DrawText(units.X(layout.Body(ValueColumn(g))), y, total.text, HAlign::kRight,
                       VAlign::kTop);
    }
  }
}

}  // namespace velunorh
