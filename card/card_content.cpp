#include "card/card_content.h"

#include "base/edition.h"
#include "base/string_table.h"
#include "card/grid_values.h"
#include "card/month_totals.h"
#include "companion/name_date_format.h"

namespace velunorh {
namespace {

// The service year's calendar year as the preview heads it.
int HeadingYear(const ServiceYear& year) {
  const int r = year.reportMonth;
  const bool sameYear = r < 8 || r == 11;
  if (year.previousServiceYear) return sameYear ? year.currentYear - 1 : year.currentYear;
  return sameYear ? year.currentYear : year.currentYear + 1;
}

void DecideHeader(CongregationData& data, const CardChoice& choice, CardContent& card) {
  const PublisherTable& table = data.current;
  const PublisherRecord& record = table[choice.slot];
  card.hasFullName =
      data.LoadExtension(choice.slot) != 0 && !data.extensionBuffer().fullName().empty();
  card.displayName = card.hasFullName && choice.useFullName
                         ? data.extensionBuffer().fullName()
                         : FormatName(table, choice.slot, choice.lastNameFirst);
  card.familyName = record.familyName();
  card.givenName = record.givenName();
  if (card.hasFullName) card.fullName = data.extensionBuffer().fullName();
  for (int format = 0; format < kDateFormats; ++format) {
    card.datesOfBirth[format] =
        FormatDate(table, choice.slot, WhichDate::kBirth, format, choice.languageCode);
    card.datesImmersed[format] =
        FormatDate(table, choice.slot, WhichDate::kImmersed, format, choice.languageCode);
  }
  card.homeAddress = record.homeAddress();
  card.homeTelephone = record.homeTelephone();
  card.mobileTelephone = record.mobileTelephone();
  card.dateOfBirth =
      FormatDate(table, choice.slot, WhichDate::kBirth, choice.dateFormat, choice.languageCode);
  card.dateImmersed =
      FormatDate(table, choice.slot, WhichDate::kImmersed, choice.dateFormat, choice.languageCode);
  // Female wins when both bits are set.
  if (record.IsMale()) card.sex = SexMark::kMale;
  if (record.IsFemale()) card.sex = SexMark::kFemale;
  card.baptized = IsBaptized(table, choice.slot);
  card.anointed = record.anointedMark() == 'A';
  card.elder = record.Appointment() == Appointment::kElder;
  card.ministerialServant = record.Appointment() == Appointment::kMinisterialServant;
  const int reportMonth = choice.year.reportMonth;
  card.regularPioneer = reportMonth >= 0 && reportMonth < 12 &&
                        record.PioneerStatus(reportMonth) == Pioneer::kRegular;
}

std::vector<std::string> Totals(const CongregationData& data, const CardChoice& choice,
                                int months) {
  std::vector<std::string> totals;
  for (ValueKind kind : GridKinds(choice.newForm))
    totals.push_back(SumMonths(data, choice.year, choice.slot, kind, months, choice.newForm).text);
  return totals;
}

void DecideGrid(CongregationData& data, const CardChoice& choice, CardContent& card) {
  const ServiceYear& year = choice.year;
  const int elapsed = year.ElapsedMonths();
  for (int row = 0; row < 12; ++row) {
    CardMonthRow& line = card.rows[row];
    line.month = ServiceYear::RowMonth(row);
    const bool runningYearRow = row < elapsed;
    line.shownInPreview = year.previousServiceYear || runningYearRow;
    line.printable = year.previousServiceYear != runningYearRow;
    for (ValueKind kind : GridKinds(choice.newForm))
      line.cells.push_back(
          MonthCellText(data, year, choice.slot, line.month, kind, choice.newForm));
    for (ValueKind kind : GridKinds(!choice.newForm))
      line.otherFormCells.push_back(
          MonthCellText(data, year, choice.slot, line.month, kind, !choice.newForm));
    line.remark = MonthRemark(data, year, choice.slot, line.month);
  }
  card.printedTotals = Totals(data, choice, 12);
  CardChoice otherForm = choice;
  otherForm.newForm = !choice.newForm;
  card.otherFormTotals = Totals(data, otherForm, 12);
  card.previewTotals = Totals(data, choice, year.previousServiceYear ? 12 : elapsed);
}

}  // namespace

std::string SheepText(bool anointed) {
  return LoadString(anointed ? StringId::Anointed : StringId::OtherSheep);
}

bool EditionTicksGenderMarks(std::string_view languageCode, const CardContent& card) {
  return IsCzech(languageCode) && card.sex != SexMark::kNone;
}

CardContent BuildCardContent(CongregationData& data, const CardChoice& choice) {
  CardContent card;
  card.newForm = choice.newForm;
  card.year = choice.year;
  card.headingYear = HeadingYear(choice.year);
  card.congregationLoaded = data.current.count != 0;
  card.hasPublisher = choice.slot >= 1 && data.current.IsLoaded(choice.slot);
  for (int row = 0; row < 12; ++row) card.rows[row].month = ServiceYear::RowMonth(row);
  if (!card.hasPublisher) return card;
  DecideHeader(data, choice, card);
  DecideGrid(data, choice, card);
  return card;
}

}  // namespace velunorh
