#pragma once

#include <string>

#include "base/service_year.h"
#include "companion/congregation_data.h"
#include "companion/month_values.h"

namespace velunorh {

// The totals row: each value kind summed over months, hours carried from full quarters.
struct MonthSum {
  std::string text;  // "%d", or "%d" and the quarter text when hours leave quarters over
  int sum = 0;       // the whole-number sum, hours carried from full quarters included
};

// The total of a kind over `count` months counted backwards from ReportMonth (12 = the twelve
// months that end with it), each month read from the record that serves it.
MonthSum SumMonths(const CongregationData& data, const ServiceYear& year, int slot, ValueKind kind,
                   int count, bool newForm);

}  // namespace velunorh
