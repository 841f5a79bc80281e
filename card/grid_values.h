#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/service_year.h"
#include "companion/congregation_data.h"
#include "companion/month_values.h"

namespace velunorh {

// The value kinds of the grid's value columns, in column order: the new form's five kinds, or
// the old form's Books, Brochures, Hours, Magazines, ReturnVisits and BibleStudies (the old
// Subscriptions have no column). Value column g goes to the layout's GridColumn1 + g.
std::span<const ValueKind> GridKinds(bool newForm);

// A month's value of a kind as the card form reads it: CardValue on the new form, OldFormValue
// on the old.
std::uint16_t FormValue(const CongregationData& data, const ServiceYear& year, int slot, int month,
                        ValueKind kind, bool newForm);

// The month's quarter hours (0-3): the low two bits of hourQuarters of the record that serves
// the month. On the new form a previous-year month that may not be shown has none, like every
// other value of it.
int QuarterCount(const CongregationData& data, const ServiceYear& year, int slot, int month,
                 bool newForm);

// The text of one month's cell, or "" when the cell stays empty (a zero value; Hours only when
// it has no quarters either). Hours with quarters read "12.5", or "0.75" without whole hours.
std::string MonthCellText(const CongregationData& data, const ServiceYear& year, int slot,
                          int month, ValueKind kind, bool newForm);

// The month's remark as the card shows it: "Kisegítő úttörő " when the publisher was an
// auxiliary pioneer that month (current table), then the remark of the year that serves the
// month. Reads the remark file, so the data cannot be const.
std::string MonthRemark(CongregationData& data, const ServiceYear& year, int slot, int month);

}  // namespace velunorh
