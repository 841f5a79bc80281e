#include "card/monthly_grid_pass.h"

#include "card/print_units.h"

namespace velunorh {
namespace {

BodyValue ValueColumn(std::size_t g) {
  return static_cast<BodyValue>(static_cast<int>(BodyValue::GridColumn1) + static_cast<int>(g));
}

void PrintRow(Surface& surface, const PageUnits& units, const CardLayout& layout, int y,
              const std::vector<std::string>& cells) {
  for (std::size_t g = 0; g < cells.size(); ++g) {
    if (!cells[g].empty())
      surface.DrawText(units.X(layout.Body(ValueColumn(g))), y, cells[g], HAlign::kRight,
                       VAlign::kTop);
  }
}

}  // namespace

void PrintMonthlyGrid(Surface& surface, const CardContent& card, const MonthlyGridInput& input) {
  if (!card.hasPublisher) return;
  const PageUnits units = PageUnits::For(surface, input.leftMargin, input.topMargin);
  const CardLayout& layout = input.layout;
  const int top = units.Y(layout.Body(BodyValue::BodyTop));
  const int rowHeight = LayoutValueToDevice(layout.Body(BodyValue::BodyHeight), units.vres) / 12;
  const int remarkX = units.X(layout.Body(BodyValue::GridColumn7));

  surface.SetFont({"Arial", GridFontHeight(units.vres), 400, input.fontCharset});
  surface.SetTextColor(kBlack);

  for (int row = 0; row < 12; ++row) {
    const CardMonthRow& line = card.rows[row];
    if (!line.printable || !input.monthRow[row]) continue;
    const int y = top + row * rowHeight;
    PrintRow(surface, units, layout, y, line.cells);
    if (!line.remark.empty())
      surface.DrawText(remarkX, y, line.remark, HAlign::kLeft, VAlign::kTop);
  }
  // A total prints even when it is 0.
  if (input.printTotal) {
    const int y = top + 12 * rowHeight;
    for (std::size_t g = 0; g < card.printedTotals.size(); ++g)
      surface.DrawText(units.X(layout.Body(ValueColumn(g))), y, card.printedTotals[g],
                       HAlign::kRight, VAlign::kTop);
  }
}

}  // namespace velunorh
