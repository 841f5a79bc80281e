#pragma once

#include <cstdint>

#include "base/service_year.h"
#include "companion/congregation_data.h"

namespace velunorh {

// What a month value counts. The old card form records Books, Brochures, Hours, Subscriptions,
// Magazines, ReturnVisits, BibleStudies and HourQuarters; the new form Placements,
// VideoShowings, Hours, ReturnVisits and BibleStudies. Hours, ReturnVisits and BibleStudies
// count the same thing on both forms, packed into different bits.
enum class ValueKind {
  Books,
  Brochures,
  Subscriptions,
  Magazines,
  Placements,
  VideoShowings,
  Hours,
  ReturnVisits,
  BibleStudies,
  HourQuarters,
};

// The record that serves calendar month m of the publisher in `slot`: the previous-year record
// named by previousYearLink in previous-service-year mode for such a month, else the publisher's
// own. Null when the slot is not loaded or the link names no loaded previous-year slot.
const PublisherRecord* ServingRecord(const CongregationData& data, const ServiceYear& year,
                                     int slot, int month);

// Whether previous-service-year data may be shown for index k (0-11).
bool PreviousYearMonthUsable(const CongregationData& data, const ServiceYear& year, int k);

// Old-form value of a kind for calendar month m, whatever newFormMonths says; 0 for a kind the
// old form does not record.
std::uint16_t OldFormValue(const CongregationData& data, const ServiceYear& year, int slot,
                           int month, ValueKind kind);

// New-card-form value of a kind for calendar month m; 0 for a kind the new form does not record.
std::uint16_t CardValue(const CongregationData& data, const ServiceYear& year, int slot, int month,
                        ValueKind kind);

// Raw decoding of one record, used by the two accessors above; 0 for a kind the form lacks.
std::uint16_t DecodeOldForm(const PublisherRecord& record, int month, ValueKind kind);
std::uint16_t DecodeNewForm(const PublisherRecord& record, int month, ValueKind kind);

}  // namespace velunorh
