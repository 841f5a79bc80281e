#pragma once

#include <array>
#include <string>

#include "companion/congregation_data.h"
#include "base/service_year.h"
#include "card/card_layout.h"
#include "card/surface.h"

namespace velunorh {

// What the printed monthly grid reads at the moment of printing.
struct MonthlyGridInput {
  int slot = 0;                     // the selected publisher; below 1 = none
  ServiceYear year;                 // ReportMonth, CurrentYear and the previous-service-year box
  std::array<bool, 12> monthRow{};  // row 0 = September ... 11 = August
  bool printTotal = false;
  bool newForm = false;
  int fontCharset = 0;
  std::string leftMargin = "0.00";
  std::string topMargin = "0.00";
  CardLayout layout;
};

// Prints the chosen month rows of the service year into the body of the pre-printed card:
// figures right-aligned at their columns, the remark left-aligned, and the totals on request.
// Reads the remarks from their file, so the data cannot be const.
void PrintMonthlyGrid(Surface& surface, CongregationData& data, const MonthlyGridInput& input);

}  // namespace velunorh
