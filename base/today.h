#pragma once

#include <optional>

#include "base/service_year.h"

namespace velunorh {

struct CalendarDate {
  int year = 2000;
  int month = 1;  // 1-12
  int day = 1;    // 1-31

  bool operator==(const CalendarDate&) const = default;
};

// Today's local date, or the date fixed with SetTodayForTesting.
CalendarDate Today();

// ReportMonth and CurrentYear as seen from Today().
ServiceYear ServiceYearOfToday();

// Fixes the date Today() returns; std::nullopt goes back to the clock.
void SetTodayForTesting(std::optional<CalendarDate> date);

// Fixes the date for the lifetime of the object, then goes back to the clock.
class ScopedToday {
 public:
  explicit ScopedToday(CalendarDate date) { SetTodayForTesting(date); }
  ~ScopedToday() { SetTodayForTesting(std::nullopt); }
  ScopedToday(const ScopedToday&) = delete;
  ScopedToday& operator=(const ScopedToday&) = delete;
};

}  // namespace velunorh
