#include "card/grid_values.h"

#include <array>

#include "base/string_table.h"
#include "companion/month_values.h"
#include "card/quarter_hours.h"

namespace velunorh {
namespace {

constexpr std::array<int, 5> kNewFormKinds = {kPlacements, kVideoShowings, kHours, kReturnVisits,
                                              kBibleStudies};
constexpr std::array<int, 6> kOldFormKinds = {kBooks,     kBrochures,       kOldHours,
                                              kMagazines, kOldReturnVisits, kOldBibleStudies};

}  // namespace

std::span<const int> GridKinds(bool newForm) {
  if (newForm) return kNewFormKinds;
  return kOldFormKinds;
}

std::uint16_t FormValue(const CongregationData& data, const ServiceYear& year, int slot, int month,
                        int kind, bool newForm) {
  return newForm ? CardValue(data, year, slot, month, kind)
                 : OldFormValue(data, year, slot, month, kind);
}

int QuarterCount(const CongregationData& data, const ServiceYear& year, int slot, int month,
                 bool newForm) {
  // CardValue hides such a month as stale data; its quarters must not show through the hours.
  if (newForm && year.ServedByPreviousYear(month) && !PreviousYearMonthUsable(data, year, month))
    return 0;
  return OldFormValue(data, year, slot, month, kHourQuarters) & 3;
}

std::string MonthCellText(const CongregationData& data, const ServiceYear& year, int slot,
                          int month, int kind, bool newForm) {
  const std::uint16_t value = FormValue(data, year, slot, month, kind, newForm);
  if (kind == kHours) {
    const int q = QuarterCount(data, year, slot, month, newForm);
    if (q != 0) {
      const std::uint16_t whole = OldFormValue(data, year, slot, month, kOldHours);
      if (whole != 0) return std::to_string(whole) + FormatQuarterFraction(q, false);
      return FormatQuarterFraction(q, true);
    }
  }
  if (value == 0) return "";
  return std::to_string(value);
}

std::string MonthRemark(CongregationData& data, const ServiceYear& year, int slot, int month) {
  if (slot < 1 || !data.current.IsLoaded(slot) || month < 0 || month > 11) return "";
  std::string text;
  if (data.current[slot].PioneerStatus(month) == 1) text = LoadString(1026) + " ";
  std::string remark;
  if (data.GetRemark(slot, month, year.ServedByPreviousYear(month), remark)) text += remark;
  return text;
}

}  // namespace velunorh
