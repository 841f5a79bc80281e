#pragma once

#include <array>
#include <string>

#include "companion/congregation_data.h"
#include "base/service_year.h"
#include "card/surface.h"

namespace velunorh {

// What the monthly preview reads at paint time.
struct MonthlyPreviewInput {
  int slot = 0;                     // the selected publisher; below 1 = none (the empty grid)
  ServiceYear year;                 // ReportMonth, CurrentYear and the previous-service-year box
  std::array<bool, 12> monthRow{};  // row 0 = September ... 11 = August
  bool printTotal = false;
  bool newForm = false;
  std::string languageCode = "hun";
};

// Draws the publisher's service year as a grid into `client`: column titles and the year, the
// twelve months from September with their values and remarks, and the totals. bx and by are
// the system's horizontal and vertical border sizes. Reads the remarks from their file.
void DrawMonthlyPreview(Surface& surface, const Rect& client, CongregationData& data,
                        const MonthlyPreviewInput& input, int bx, int by);

}  // namespace velunorh
