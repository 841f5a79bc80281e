#pragma once

#include <string>

#include "base/service_year.h"
#include "companion/congregation_data.h"
#include "companion/month_values.h"

namespace velunorh {

// The text of q quarter hours (strings 141-143: ".25", ".5", ".75"); with `leadingZero` and
// string 144 = "1" a "0" goes in front. q of 0 or less, or above 3, gives "".
std::string FormatQuarterFraction(int q, bool leadingZero);

struct MonthSum {
  std::string text;  // "%d", or "%d" and the quarter text when hours leave quarters over
  int sum = 0;       // the whole-number sum, hours carried from full quarters included
};

// The total of a kind over `count` months counted backwards from ReportMonth (12 = the twelve
// months that end with it), each month read from the record that serves it.
MonthSum SumMonths(const CongregationData& data, const ServiceYear& year, int slot, ValueKind kind,
                   int count, bool newForm);

}  // namespace velunorh
