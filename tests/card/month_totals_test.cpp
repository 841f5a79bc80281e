#include "card/month_totals.h"
#include "card/grid_texts.h"

#include <gtest/gtest.h>

#include "companion/month_values.h"
#include "loaded_congregation.h"

namespace velunorh {
namespace {

TEST(FormatQuarterFraction, GivesTheFractionWithOrWithoutItsZero) {
  struct Case {
    int q;
    bool leadingZero;
    const char* text;
  } cases[] = {{0, true, ""},     {-1, false, ""},   {1, false, ".25"},
               {1, true, "0.25"}, {2, false, ".5"},  {2, true, "0.5"},
               {3, false, ".75"}, {3, true, "0.75"}, {4, true, ""}};
  for (const auto& c : cases)
    EXPECT_EQ(FormatQuarterFraction(c.q, c.leadingZero), c.text) << c.q << " " << c.leadingZero;
}

// Months 1 (February), 0 (January) and 11 (December) carry quarters 1, 2 and 3; November,
// outside a three-month walk from February, carries more.
tools::Congregation QuarterYear() {
  tools::Publisher p;
  p.id = 20;
  p.givenName = "Anna";
  p.months[1] = {.hours = 10, .returnVisits = 2, .quarters = 1};
  p.months[0] = {.hours = 5, .returnVisits = 3, .quarters = 2};
  p.months[11] = {.hours = 7, .quarters = 3, .books = 4};
  p.months[10] = {.hours = 100, .returnVisits = 50, .quarters = 3};
  tools::Congregation c;
  c.current.publishers = {p};
  return c;
}

TEST(SumMonths, WalksBackFromReportMonthAndCarriesFullHours) {
  test::LoadedCongregation d(QuarterYear());
  const ServiceYear february{1, 2027, false};
  struct Case {
    const char* what;
    ValueKind kind;
    int count;
    bool newForm;
    const char* text;
    int sum;
  } cases[] = {
      {"six quarters: one hour and a half", ValueKind::Hours, 3, false, "23.5", 23},
      {"same on the new form", ValueKind::Hours, 3, true, "23.5", 23},
      {"one month", ValueKind::Hours, 1, false, "10.25", 10},
      {"no months", ValueKind::Hours, 0, false, "0", 0},
      {"other kinds ignore the quarters", ValueKind::ReturnVisits, 3, false, "5", 5},
      {"new-form placements of old-form months", ValueKind::Placements, 3, true, "4", 4},
      {"a column of zeros", ValueKind::BibleStudies, 12, false, "0", 0},
      {"twelve months", ValueKind::Hours, 12, false, "124.25", 124},
  };
  for (const auto& c : cases) {
    MonthSum total = SumMonths(d.data, february, 1, c.kind, c.count, c.newForm);
    EXPECT_EQ(total.text, c.text) << c.what;
    EXPECT_EQ(total.sum, c.sum) << c.what;
  }
}

}  // namespace
}  // namespace velunorh
