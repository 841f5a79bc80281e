#include "card/grid_values.h"

#include <array>

#include "base/string_table.h"
#include "card/grid_texts.h"
#include "companion/month_values.h"

namespace velunorh {
namespace {

constexpr std::array<ValueKind, 5> kNewFormKinds = {ValueKind::Placements, ValueKind::VideoShowings,
                                                    ValueKind::Hours, ValueKind::ReturnVisits,
                                                    ValueKind::BibleStudies};
constexpr std::array<ValueKind, 6> kOldFormKinds = {
    ValueKind::Books,     ValueKind::Brochures,    ValueKind::Hours,
    ValueKind::Magazines, ValueKind::ReturnVisits, ValueKind::BibleStudies};

}  // namespace

std::span<const ValueKind> GridKinds(bool newForm) {
  if (newForm) return kNewFormKinds;
  return kOldFormKinds;
}

std::uint16_t FormValue(const CongregationData& data, const ServiceYear& year, int slot, int month,
                        ValueKind kind, bool newForm) {
  return newForm ? CardValue(data, year, slot, month, kind)
                 : OldFormValue(data, year, slot, month, kind);
}

int QuarterCount(const CongregationData& data, const ServiceYear& year, int slot, int month,
                 bool newForm) {
  // CardValue hides such a month as stale data; its quarters must not show through the hours.
  if (newForm && year.ServedByPreviousYear(month) && !PreviousYearMonthUsable(data, year, month))
    return 0;
  return OldFormValue(data, year, slot, month, ValueKind::HourQuarters) & 3;
}

std::string MonthCellText(const CongregationData& data, const ServiceYear& year, int slot,
                          int month, ValueKind kind, bool newForm) {
  const std::uint16_t value = FormValue(data, year, slot, month, kind, newForm);
  if (kind == ValueKind::Hours) {
    const int q = QuarterCount(data, year, slot, month, newForm);
    if (q != 0) {
      const std::uint16_t whole = OldFormValue(data, year, slot, month, ValueKind::Hours);
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
  if (data.current[slot].PioneerStatus(month) == Pioneer::kAuxiliary)
    text = LoadString(StringId::AuxiliaryPioneerRemark) + " ";
  std::string remark;
  if (data.GetRemark(slot, month, year.ServedByPreviousYear(month), remark)) text += remark;
  return text;
}

}  // namespace velunorh
