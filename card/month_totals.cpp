#include "card/month_totals.h"

#include "card/grid_texts.h"
#include "card/grid_values.h"
#include "companion/month_values.h"

namespace velunorh {

MonthSum SumMonths(const CongregationData& data, const ServiceYear& year, int slot, ValueKind kind,
                   int count, bool newForm) {
  MonthSum total;
  int quarters = 0;
  int month = year.reportMonth;
  for (int i = 0; i < count; ++i) {
    total.sum += FormValue(data, year, slot, month, kind, newForm);
    if (kind == ValueKind::Hours) {
      quarters += QuarterCount(data, year, slot, month, newForm);
      if (quarters > 3) {
        quarters -= 4;
        total.sum += 1;
      }
    }
    month = month == 0 ? 11 : month - 1;
  }
  total.text = std::to_string(total.sum);
  if (kind == ValueKind::Hours && quarters != 0)
    total.text += FormatQuarterFraction(quarters, false);
  return total;
}

}  // namespace velunorh
