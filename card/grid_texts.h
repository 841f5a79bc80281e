#pragma once

#include <string>

#include "companion/month_values.h"

namespace velunorh {

// The words of the monthly grid, from the string table.

// The row label of calendar month 0 (January) to 11; "" for any other number.
std::string GridMonthName(int month);

// The title of a value column: each form has its own titles, in the order of its columns. ""
// for a kind the form has no column for.
std::string GridColumnTitle(ValueKind kind, bool newForm);

// The text of 1-3 quarter hours (".25", ".5", ".75"); "" for any other count.
std::string QuarterHourText(int quarters);

// The text of q quarter hours (strings 141-143: ".25", ".5", ".75"); with `leadingZero` and
// string 144 = "1" a "0" goes in front. q of 0 or less, or above 3, gives "".
std::string FormatQuarterFraction(int q, bool leadingZero);

}  // namespace velunorh
