#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/service_year.h"
#include "companion/congregation_data.h"

namespace velunorh {

// What decides the card's words: the publisher, the service year and the display choices.
struct CardChoice {
  int slot = 0;      // the selected publisher; below 1 = none
  ServiceYear year;  // ReportMonth, CurrentYear and the previous-service-year box
  bool useFullName = true;
  bool lastNameFirst = false;
  int dateFormat = 0;
  std::string languageCode = "hun";
  bool newForm = false;
  bool operator==(const CardChoice&) const = default;
};

enum class SexMark { kNone, kMale, kFemale };

// One month row of the grid, September first.
struct CardMonthRow {
  int month = 0;  // calendar month, 0 = January
  // The preview shows the row's values: the running year up to ReportMonth, or the whole
  // previous service year.
  bool shownInPreview = false;
  // The row belongs to the year being printed: running-year rows in normal mode, the others in
  // previous-year mode. Whether it prints is the month box's choice.
  bool printable = false;
  std::vector<std::string> cells;  // one per grid column, "" for an empty cell
  std::string remark;              // the auxiliary-pioneer text and the month's remark
  // The same month's cells as the other card version prints them: the print ledger compares
  // the month's data, which a switch of card version does not change.
  std::vector<std::string> otherFormCells;
};

// The date formats of the options (0 = as stored, 1 = month first, 2 = month name, 3 = day first).
inline constexpr int kDateFormats = 4;

// Everything the card says for one publisher, decided once; the previews, the printed card and
// every other picture of it only place these texts.
struct CardContent {
  bool congregationLoaded = false;  // the current table holds any publisher
  bool hasPublisher = false;        // the choice names a loaded publisher

  // The header.
  std::string displayName;  // the full name when chosen and usable, else the formatted name
  bool hasFullName = false;
  std::string homeAddress;
  std::string homeTelephone;
  std::string mobileTelephone;
  std::string dateOfBirth;
  std::string dateImmersed;
  SexMark sex = SexMark::kNone;
  bool baptized = false;
  bool anointed = false;
  bool elder = false;
  bool ministerialServant = false;
  bool regularPioneer = false;  // in ReportMonth, current table
  // What the header prints from, whatever the options make of it (name order, full name, date
  // format): the print ledger compares these, so an option alone changes nothing on the card.
  std::string familyName;
  std::string givenName;
  std::string fullName;                                // "" without one
  std::array<std::string, kDateFormats> datesOfBirth;  // in each date format
  std::array<std::string, kDateFormats> datesImmersed;

  // The grid.
  bool newForm = false;
  ServiceYear year;
  std::array<CardMonthRow, 12> rows{};
  std::vector<std::string> printedTotals;    // the twelve months that end with ReportMonth
  std::vector<std::string> previewTotals;    // the months the preview shows
  std::vector<std::string> otherFormTotals;  // printedTotals as the other card version prints them
  int headingYear = 0;                       // the calendar year the preview's heading shows

  bool operator==(const CardContent&) const = default;
};

// Reads the publisher's data (the extension record and the remark files included) and decides
// every text of the card.
CardContent BuildCardContent(CongregationData& data, const CardChoice& choice);

// The text of the anointed / other sheep answer, with its box mark.
std::string SheepText(bool anointed);

// Whether the edition ticks F/N by itself for this card: the cz edition does for a publisher
// with a sex, whatever the user's box says.
bool EditionTicksGenderMarks(std::string_view languageCode, const CardContent& card);

}  // namespace velunorh
