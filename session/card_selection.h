#pragma once

#include <array>
#include <string>

#include "base/service_year.h"
#include "companion/congregation_data.h"

namespace velunorh {

// The main window's current choice: what the previews show and what a print puts on the card.
// The check boxes of the window mirror these fields.
struct CardSelection {
  int selectedPublisher = 0;  // slot of the current table; below 1 = none
  int publisherGroup = 0;     // 0-3, see InPublisherGroup
  bool useFullName = true;
  bool printHeader = true;
  bool printGenderMarks = false;
  bool genderMarksEnabled = true;
  std::array<bool, 12> monthRow{};  // row 0 = September ... 11 = August
  std::array<bool, 12> monthRowEnabled{};
  bool printTotal = false;
  bool totalEnabled = false;
  ServiceYear year;  // ReportMonth, CurrentYear and the previous-service-year box
};

inline constexpr int kPublisherGroups = 4;

// Whether the publisher in `slot` belongs to a group: 0 all, 1 regular pioneers in ReportMonth,
// 2 baptized and not a regular pioneer, 3 not baptized.
bool InPublisherGroup(const PublisherTable& table, int slot, int group, int reportMonth);

// The caption of a group's button; "" for a group that does not exist.
std::string PublisherGroupCaption(int group);

// Enables the month boxes and the total box for the service-year mode and the date; never
// changes a month box's check mark, but unchecks the total box when it becomes unusable.
void UpdateMonthBoxes(CardSelection& selection, const CongregationData& data);

// A month or total box was clicked: the header is no longer printed.
void MonthBoxClicked(CardSelection& selection);

// The header box was clicked (its new state given): F/N is unchecked and usable only with it.
void PrintHeaderClicked(CardSelection& selection, bool checked);

}  // namespace velunorh
