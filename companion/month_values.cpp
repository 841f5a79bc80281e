#include "companion/month_values.h"

namespace velunorh {
namespace {

using R = PublisherRecord;

bool IsMonth(int month) {
  return month >= 0 && month < 12;
}

}  // namespace

const PublisherRecord* ServingRecord(const CongregationData& data, const ServiceYear& year,
                                     int slot, int month) {
  if (slot < 1 || !data.current.IsLoaded(slot) || !IsMonth(month)) return nullptr;
  const PublisherRecord& own = data.current[slot];
  if (!year.ServedByPreviousYear(month)) return &own;
  // The link is only followed into a loaded previous-year publisher: when the previous-year
  // file was not loaded, it still holds whatever the file said.
  const int link = own.previousYearLink();
  if (link == 0 || !data.previous.IsLoaded(link)) return nullptr;
  return &data.previous[link];
}

bool PreviousYearMonthUsable(const CongregationData& data, const ServiceYear& year, int k) {
  if (!IsMonth(k)) return false;
  auto yy = static_cast<std::uint8_t>(year.currentYear + 48);  // 2026 -> 26
  // In January the last finished month, December, still belongs to last year.
  if (year.reportMonth == 11) --yy;
  if (k >= year.ElapsedMonths()) return true;
  if (!data.previous.IsLoaded(0)) return false;
  return data.previous[0].YearMark(k) == static_cast<std::uint8_t>(yy - 1);
}

std::uint16_t DecodeOldForm(const PublisherRecord& record, int month, ValueKind kind) {
  if (!IsMonth(month)) return 0;
  auto b = [&](std::size_t array) -> unsigned { return record.MonthByte(array, month); };
  unsigned value = 0;
  switch (kind) {
    case ValueKind::Books:
      value = b(R::kMonthArrayA);
      break;
    case ValueKind::Brochures:
      value = b(R::kMonthArrayB) + 256 * (b(R::kMonthFlags) >> 4);
      break;
    case ValueKind::Hours:
      value = b(R::kMonthArrayC);
      break;
    case ValueKind::Subscriptions:
      value = b(R::kMonthArrayD) & 63;
      break;
    case ValueKind::Magazines:
      value = b(R::kMonthArrayE) + 256 * (b(R::kMonthArrayG) >> 6) +
              1024 * ((b(R::kMonthFlags) >> 2) & 3);
      break;
    case ValueKind::ReturnVisits:
      value = b(R::kMonthArrayF) + 256 * (b(R::kMonthArrayD) >> 6);
      break;
    case ValueKind::BibleStudies:
      value = b(R::kMonthArrayG) & 63;
      break;
    case ValueKind::HourQuarters:
      value = b(R::kHourQuarters);
      break;
    default:  // a new-form kind
      break;
  }
  return static_cast<std::uint16_t>(value);
}

std::uint16_t DecodeNewForm(const PublisherRecord& record, int month, ValueKind kind) {
  if (!IsMonth(month)) return 0;
  auto b = [&](std::size_t array) -> unsigned { return record.MonthByte(array, month); };
  unsigned value = 0;
  switch (kind) {
    case ValueKind::Placements:
      value = b(R::kMonthArrayA) + 256 * (b(R::kMonthArrayG) >> 4);
      break;
    case ValueKind::VideoShowings:
      value = b(R::kMonthArrayB) + 256 * (b(R::kMonthArrayG) & 15);
      break;
    case ValueKind::Hours:
      value = b(R::kMonthArrayC);
      break;
    case ValueKind::ReturnVisits:
      value = b(R::kMonthArrayD) + 256 * (b(R::kMonthArrayF) >> 6);
      break;
    case ValueKind::BibleStudies:
      value = b(R::kMonthArrayE) & 63;
      break;
    default:  // an old-form kind
      break;
  }
  return static_cast<std::uint16_t>(value);
}

std::uint16_t OldFormValue(const CongregationData& data, const ServiceYear& year, int slot,
                           int month, ValueKind kind) {
  const PublisherRecord* record = ServingRecord(data, year, slot, month);
  return record ? DecodeOldForm(*record, month, kind) : 0;
}

std::uint16_t CardValue(const CongregationData& data, const ServiceYear& year, int slot, int month,
                        ValueKind kind) {
  switch (kind) {
    case ValueKind::Placements:
    case ValueKind::VideoShowings:
    case ValueKind::Hours:
    case ValueKind::ReturnVisits:
    case ValueKind::BibleStudies:
      break;
    default:  // the old form's own kinds have no place on the new form
      return 0;
  }
  if (year.ServedByPreviousYear(month) && !PreviousYearMonthUsable(data, year, month)) return 0;
  const PublisherRecord* record = ServingRecord(data, year, slot, month);
  if (!record) return 0;
  if ((record->newFormMonths() >> month) & 1) return DecodeNewForm(*record, month, kind);
  // A month still kept on the old form: its values count toward the new form's kinds.
  switch (kind) {
    case ValueKind::Placements:
      return static_cast<std::uint16_t>(DecodeOldForm(*record, month, ValueKind::Books) +
                                        DecodeOldForm(*record, month, ValueKind::Brochures) +
                                        DecodeOldForm(*record, month, ValueKind::Magazines));
    case ValueKind::Hours:
    case ValueKind::ReturnVisits:
    case ValueKind::BibleStudies:
      return DecodeOldForm(*record, month, kind);
    default:  // the old form had no video showings
      return 0;
  }
}

}  // namespace velunorh
