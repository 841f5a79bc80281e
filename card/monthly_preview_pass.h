#pragma once

#include <array>
#include <string>

#include "card/card_content.h"
#include "card/card_ledger_view.h"
#include "card/surface.h"

namespace velunorh {

// What the monthly preview shows besides the card's words: which rows and the total are ticked.
struct MonthlyPreviewInput {
  std::array<bool, 12> monthRow{};  // row 0 = September ... 11 = August
  bool printTotal = false;
  std::string languageCode = "hun";
  MonthlyLedgerView ledger;  // which rows are on the card already, and which changed since
};

// Draws the card's service year as a grid into `client`: column titles and the year, the
// twelve months from September with their values and remarks, and the totals; left of a month
// name (and of "Összes") the ledger's mark, a changed row's values in the warning colour. bx and by
// are the system's horizontal and vertical border sizes.
void DrawMonthlyPreview(Surface& surface, const Rect& client, const CardContent& card,
                        const MonthlyPreviewInput& input, int bx, int by);

}  // namespace velunorh
