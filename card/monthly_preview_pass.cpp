#include "card/monthly_preview_pass.h"

#include <algorithm>

#include "base/string_table.h"
#include "card/grid_texts.h"
#include "card/grid_values.h"

namespace velunorh {
namespace {

struct Geometry {
  int left, top, Wd, H;
  int columns;  // the grid's width in columns: values, the month names and the remarks
  int c, h;
  int x0;  // where the year, the month names and "Összes" end

  Geometry(const Rect& r, bool newForm, int bx)
      : left(r.left), top(r.top), Wd(r.right - r.left), H(r.bottom - r.top) {
    columns = newForm ? 9 : 10;
    c = Wd / columns;
    h = H / 14;
    x0 = left + Wd / 10 - 8 * bx;
  }
  // Where value column g ends: its title and its values.
  int ColumnEnd(int g) const { return left + c * (g + 2); }
};

int CharacterCount(const std::string& text) {
  int count = 0;
  for (unsigned char ch : text) count += (ch & 0xC0) != 0x80;
  return count;
}

void DrawRight(Surface& surface, int x, int y, const std::string& text) {
  surface.DrawText(x, y, text, HAlign::kRight, VAlign::kTop);
}

void DrawGrid(Surface& surface, const Geometry& g, bool newForm) {
  surface.DrawRectangle({g.left, g.top, g.left + g.Wd, g.top + g.H});
  const int verticals = newForm ? 6 : 7;
  for (int k = 1; k <= verticals; ++k)
    surface.DrawLine(g.left + k * g.c, g.top, g.left + k * g.c, g.top + g.H);
  for (int j = 1; j <= 13; ++j)
    surface.DrawLine(g.left, g.top + j * g.h, g.left + g.Wd, g.top + j * g.h);
}

void DrawHeadings(Surface& surface, const Geometry& g, const CardContent& card,
                  const MonthlyPreviewInput& input, int bx, int by) {
  const int y = g.top + by;
  const std::span<const ValueKind> kinds = GridKinds(card.newForm);
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    const std::string title = GridColumnTitle(kinds[i], card.newForm);
    const int inset = CharacterCount(title) >= 8 ? 4 * bx : 8 * bx;
    DrawRight(surface, g.ColumnEnd(static_cast<int>(i)) - inset, y, title);
  }
  const int remarkColumns = g.columns - (card.newForm ? 1 : 0);
  const int divisor = input.languageCode == "greek" ? 2 * remarkColumns : remarkColumns;
  DrawRight(surface, g.left + g.Wd - g.Wd / divisor, y, LoadString(StringId::RemarksColumn));
  DrawRight(surface, g.x0, y, std::to_string(card.headingYear));
}

void DrawMonthValues(Surface& surface, const Geometry& g, const CardMonthRow& line, int row, int y,
                     int bx, int by) {
  for (std::size_t i = 0; i < line.cells.size(); ++i) {
    if (!line.cells[i].empty())
      DrawRight(surface, g.ColumnEnd(static_cast<int>(i)) - 10 * bx, y, line.cells[i]);
  }
  if (!line.remark.empty()) {
    const int x = g.left + (g.Wd / 10) * 7 + 2 * bx;
    surface.SetClip(Rect{x, y, g.left + g.Wd, g.top + (row + 2) * g.h + by});
    surface.DrawText(x, y, line.remark, HAlign::kLeft, VAlign::kTop);
    surface.SetClip(std::nullopt);
  }
}

// The ledger's mark just right of where the month name ends, in the gap before the figures
// (which stand right-aligned in their columns): it covers no text the preview draws. It takes
// the middle of the row's height, and is a little narrower than high.
void DrawLedgerMark(Surface& surface, const Geometry& g, LedgerMark mark, int row, int bx) {
  if (mark == LedgerMark::kNone) return;
  const int rowTop = g.top + (row + 1) * g.h;
  const int height = std::max(3, g.h * 5 / 8);
  const int top = rowTop + (g.h - height) / 2;
  const int left = g.x0 + 3 * bx;
  const Rect box{left, top, left + height * 3 / 4, top + height};
  if (mark == LedgerMark::kChanged)
    surface.DrawMark(kChangedMark, box, kLedgerWarning);
  else
    surface.DrawMark(kOnCardMark, box, kBlack);
}

void DrawTotals(Surface& surface, const Geometry& g, const CardContent& card,
                const MonthlyPreviewInput& input, int y, int bx) {
  // The figures' colour says only whether they will print; a change is the mark's to tell.
  surface.SetTextColor(input.printTotal ? kBlack : kGrey);
  for (std::size_t i = 0; i < card.previewTotals.size(); ++i)
    DrawRight(surface, g.ColumnEnd(static_cast<int>(i)) - 10 * bx, y, card.previewTotals[i]);
}

}  // namespace

void DrawMonthlyPreview(Surface& surface, const Rect& client, const CardContent& card,
                        const MonthlyPreviewInput& input, int bx, int by) {
  const Geometry g(client, card.newForm, bx);
  const Color heading = card.year.previousServiceYear ? kGrey : kBlack;

  DrawGrid(surface, g, card.newForm);
  surface.SetFont({});
  surface.SetTextColor(heading);
  DrawHeadings(surface, g, card, input, bx, by);

  for (int row = 0; row < 12; ++row) {
    const CardMonthRow& line = card.rows[row];
    const int y = g.top + (row + 1) * g.h + by;
    DrawRight(surface, g.x0, y, GridMonthName(line.month));
    if (!card.hasPublisher) continue;
    DrawLedgerMark(surface, g, input.ledger.rows[row], row, bx);
    if (!line.shownInPreview) {
      surface.SetTextColor(heading);
      continue;
    }
    surface.SetTextColor(input.monthRow[row] ? kBlack : heading);
    DrawMonthValues(surface, g, line, row, y, bx, by);
    surface.SetTextColor(heading);
  }

  const int totalY = g.top + 13 * g.h + by;
  DrawRight(surface, g.x0, totalY, LoadString(StringId::TotalRow));
  if (card.hasPublisher) {
    DrawLedgerMark(surface, g, input.ledger.total, 12, bx);
    DrawTotals(surface, g, card, input, totalY, bx);
  }
}

}  // namespace velunorh
