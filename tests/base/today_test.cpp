#include "base/today.h"

#include <gtest/gtest.h>

namespace velunorh {
namespace {

TEST(Today, ReportMonthIsTheMonthBeforeToday) {
  struct Case {
    CalendarDate date;
    int reportMonth;  // 0 = January
    int currentYear;
    int elapsedMonths;  // of the service year, from September
  } cases[] = {
      {{2024, 1, 15}, 11, 2024, 4},  // December of the year before; the year is today's
      {{2024, 2, 1}, 0, 2024, 5},   {{2023, 12, 31}, 10, 2023, 3},
      {{2023, 9, 1}, 7, 2023, 12},  // August closes the previous service year
      {{2023, 10, 1}, 8, 2023, 1},
  };
  for (const Case& c : cases) {
    ScopedToday fixed(c.date);
    EXPECT_EQ(Today(), c.date);
    ServiceYear year = ServiceYearOfToday();
    EXPECT_EQ(year.reportMonth, c.reportMonth) << c.date.month;
    EXPECT_EQ(year.currentYear, c.currentYear) << c.date.month;
    EXPECT_EQ(year.ElapsedMonths(), c.elapsedMonths) << c.date.month;
  }
}

TEST(Today, TheClockReturnsWhenTheFixedDateEnds) {
  { ScopedToday fixed({1999, 1, 15}); }
  CalendarDate today = Today();
  EXPECT_GE(today.year, 2024);
  EXPECT_GE(today.month, 1);
  EXPECT_LE(today.month, 12);
  EXPECT_GE(today.day, 1);
  EXPECT_LE(today.day, 31);
}

}  // namespace
}  // namespace velunorh
