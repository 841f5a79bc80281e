#include "base/today.h"

#include <ctime>

#include "base/platform.h"

namespace velunorh {
namespace {

std::optional<CalendarDate>& FixedDate() {
  static std::optional<CalendarDate> date;
  return date;
}

}  // namespace

CalendarDate Today() {
  if (FixedDate()) return *FixedDate();
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (!ToLocalTime(now, local)) return CalendarDate{};
  return CalendarDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

ServiceYear ServiceYearOfToday() {
  CalendarDate today = Today();
  return ServiceYear::FromDate(today.year, today.month);
}

void SetTodayForTesting(std::optional<CalendarDate> date) {
  FixedDate() = date;
}

}  // namespace velunorh
