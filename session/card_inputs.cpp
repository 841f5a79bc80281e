#include "session/card_inputs.h"

#include "base/string_table.h"
#include "base/string_table_by_number.h"
#include "card/header_display_name.h"

namespace velunorh {

HeaderPreviewInput HeaderPreviewInputFrom(const MainState& state) {
  HeaderPreviewInput input;
  input.slot = state.selection.selectedPublisher;
  input.languageCode = state.languageCode;
  input.fontCharset = state.fontCharset;
  input.nameShift = LoadStringInt(132);
  input.cardVersion = state.settings.cardVersion;
  input.reportMonth = state.selection.year.reportMonth;
  input.dateFormat = state.settings.dateFormat;
  input.lastNameFirst = state.settings.lastNameFirst;
  input.useFullName = state.selection.useFullName;
  input.printHeader = state.selection.printHeader;
  input.printGenderMarks = state.selection.printGenderMarks;
  return input;
}

HeaderBlockInput HeaderBlockInputFrom(MainState& state) {
  const CardSelection& selection = state.selection;
  HeaderBlockInput input;
  input.slot = selection.selectedPublisher;
  input.displayName = HeaderDisplayName(state.data, selection.selectedPublisher,
                                        selection.useFullName, state.settings.lastNameFirst);
  input.printHeader = selection.printHeader;
  input.printGenderMarks = selection.printGenderMarks;
  input.reportMonth = selection.year.reportMonth;
  input.dateFormat = state.settings.dateFormat;
  input.languageCode = state.languageCode;
  input.leftMargin = state.settings.leftMargin;
  input.topMargin = state.settings.topMargin;
  input.layout = state.layout;
  return input;
}

MonthlyGridInput MonthlyGridInputFrom(const MainState& state) {
  const CardSelection& selection = state.selection;
  MonthlyGridInput input;
  input.slot = selection.selectedPublisher;
  input.year = selection.year;
  input.monthRow = selection.monthRow;
  input.printTotal = selection.printTotal;
  input.newForm = state.newFormFlag;
  input.fontCharset = state.fontCharset;
  input.leftMargin = state.settings.leftMargin;
  input.topMargin = state.settings.topMargin;
  input.layout = state.layout;
  return input;
}

MonthlyPreviewInput MonthlyPreviewInputFrom(const MainState& state) {
  const CardSelection& selection = state.selection;
  MonthlyPreviewInput input;
  input.slot = selection.selectedPublisher;
  input.year = selection.year;
  input.monthRow = selection.monthRow;
  input.printTotal = selection.printTotal;
  input.newForm = state.newFormFlag;
  input.languageCode = state.languageCode;
  return input;
}

}  // namespace velunorh
