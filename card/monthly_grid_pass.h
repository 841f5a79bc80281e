#pragma once

#include <array>
#include <string>

#include "card/card_content.h"
#include "card/card_layout.h"
#include "card/surface.h"

namespace velunorh {

// What the printed monthly grid prints and where, besides the card's words.
struct MonthlyGridInput {
  std::array<bool, 12> monthRow{};  // row 0 = September ... 11 = August
  bool printTotal = false;
  int fontCharset = 0;
  std::string leftMargin = "0.00";
  std::string topMargin = "0.00";
  CardLayout layout;
};

// Prints the chosen month rows of the card's year into the body of the pre-printed card:
// figures right-aligned at their columns, the remark left-aligned, and the totals on request.
void PrintMonthlyGrid(Surface& surface, const CardContent& card, const MonthlyGridInput& input);

}  // namespace velunorh
