#include "card/grid_texts.h"

#include "base/string_table.h"

namespace velunorh {
namespace {

// A kind's place among the old form's column titles, which include Subscriptions; -1 when the
// old form has no such column.
int OldFormTitleIndex(ValueKind kind) {
  switch (kind) {
    case ValueKind::Books:
      return 0;
    case ValueKind::Brochures:
      return 1;
    case ValueKind::Hours:
      return 2;
    case ValueKind::Subscriptions:
      return 3;
    case ValueKind::Magazines:
      return 4;
    case ValueKind::ReturnVisits:
      return 5;
    case ValueKind::BibleStudies:
      return 6;
    default:
      return -1;
  }
}

int NewFormTitleIndex(ValueKind kind) {
  switch (kind) {
    case ValueKind::Placements:
      return 0;
    case ValueKind::VideoShowings:
      return 1;
    case ValueKind::Hours:
      return 2;
    case ValueKind::ReturnVisits:
      return 3;
    case ValueKind::BibleStudies:
      return 4;
    default:
      return -1;
  }
}

}  // namespace

std::string GridMonthName(int month) {
  return LoadStringOfRun(StringId::GridMonthJanuary, 12, month);
}

std::string GridColumnTitle(ValueKind kind, bool newForm) {
  if (newForm) return LoadStringOfRun(StringId::NewColumnPlacements, 5, NewFormTitleIndex(kind));
  return LoadStringOfRun(StringId::OldColumnBooks, 7, OldFormTitleIndex(kind));
}

std::string QuarterHourText(int quarters) {
  return LoadStringOfRun(StringId::QuarterHourOne, 3, quarters - 1);
}

std::string FormatQuarterFraction(int q, bool leadingZero) {
  if (q <= 0 || q > 3) return "";
  std::string text = QuarterHourText(q);
  if (leadingZero && LoadString(StringId::QuarterLeadingZero) == "1") text = "0" + text;
  return text;
}

}  // namespace velunorh
