#pragma once

#include <cstdint>

#include "companion/congregation_data.h"
#include "base/service_year.h"

namespace velunorh {

// Value kinds of the old card form.
enum OldFormKind {
  kBooks = 0,
  kBrochures = 1,
  kOldHours = 2,
  kSubscriptions = 3,
  kMagazines = 4,
  kOldReturnVisits = 5,
  kOldBibleStudies = 6,
  kHourQuarters = 7,
};

// Value kinds of the new card form.
enum NewFormKind {
  kPlacements = 0,
  kVideoShowings = 1,
  kHours = 2,
  kReturnVisits = 3,
  kBibleStudies = 4,
};

// The record that serves calendar month m of the publisher in `slot`: the previous-year record
// named by previousYearLink in previous-service-year mode for such a month, else the publisher's
// own. Null when the slot is not loaded or the link names no loaded previous-year slot.
const PublisherRecord* ServingRecord(const CongregationData& data, const ServiceYear& year,
                                     int slot, int month);

// Whether previous-service-year data may be shown for index k (0-11).
bool PreviousYearMonthUsable(const CongregationData& data, const ServiceYear& year, int k);

// Old-form value of a kind (0-7) for calendar month m, whatever newFormMonths says.
std::uint16_t OldFormValue(const CongregationData& data, const ServiceYear& year, int slot,
                           int month, int kind);

// New-card-form value of a kind (0-4; above 4 gives 0) for calendar month m.
std::uint16_t CardValue(const CongregationData& data, const ServiceYear& year, int slot, int month,
                        int kind);

// Raw decoding of one record, used by the two accessors above.
std::uint16_t DecodeOldForm(const PublisherRecord& record, int month, int kind);
std::uint16_t DecodeNewForm(const PublisherRecord& record, int month, int kind);

}  // namespace velunorh
