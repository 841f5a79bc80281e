#include "session/card_selection.h"

#include <algorithm>

#include "base/string_table.h"
#include "companion/month_values.h"
#include "companion/name_date_format.h"

namespace velunorh {

bool InPublisherGroup(const PublisherTable& table, int slot, int group, int reportMonth) {
  if (slot < 1 || !table.IsLoaded(slot)) return false;
  bool regularPioneer = table[slot].PioneerStatus(reportMonth) == Pioneer::kRegular;
  switch (group) {
    case 0:
      return true;
    case 1:
      return regularPioneer;
    case 2:
      return IsBaptized(table, slot) && !regularPioneer;
    case 3:
      return !IsBaptized(table, slot);
    default:
      return false;
  }
}

std::string PublisherGroupCaption(int group) {
  return LoadStringOfRun(StringId::GroupAllPublishers, kPublisherGroups, group);
}

void UpdateMonthBoxes(CardSelection& selection, const CongregationData& data) {
  const ServiceYear& year = selection.year;
  for (int row = 0; row < 12; ++row) {
    selection.monthRowEnabled[row] = year.previousServiceYear
                                         ? PreviousYearMonthUsable(data, year, row)
                                         : row < year.ElapsedMonths();
  }
  bool allEnabled = std::all_of(selection.monthRowEnabled.begin(), selection.monthRowEnabled.end(),
                                [](bool enabled) { return enabled; });
  if (year.reportMonth == 7) {
    selection.totalEnabled = true;
  } else {
    if (!allEnabled) selection.printTotal = false;
    selection.totalEnabled = allEnabled;
  }
}

void MonthBoxClicked(CardSelection& selection) {
  selection.printHeader = false;
}

void PrintHeaderClicked(CardSelection& selection, bool checked) {
  selection.printHeader = checked;
  selection.printGenderMarks = false;
  selection.genderMarksEnabled = checked;
}

}  // namespace velunorh
