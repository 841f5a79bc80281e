#include "card/card_text.h"

#include <span>

#include "base/string_table.h"
#include "card/grid_texts.h"
#include "card/grid_values.h"

namespace velunorh {
namespace {

// A label of the header form without its box mark and trailing blanks.
std::string Label(StringId id) {
  std::string text = LoadString(id);
  const std::string box = "[   ] ";
  if (text.rfind(box, 0) == 0) text.erase(0, box.size());
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

void Item(std::string& out, const std::string& label, const std::string& value) {
  if (value.empty()) return;
  out += label + ": " + value + "\n";
}

}  // namespace

std::string DescribeHeader(const CardContent& card) {
  if (!card.hasPublisher) return LoadString(StringId::NoPublisherChosen);
  std::string out;
  Item(out, Label(StringId::NameLabel), card.displayName);
  Item(out, Label(StringId::HomeAddressLabel), card.homeAddress);
  Item(out, Label(StringId::HomeTelephoneLabel), card.homeTelephone);
  Item(out, Label(StringId::MobileTelephoneLabel), card.mobileTelephone);
  Item(out, Label(StringId::DateOfBirthLabel), card.dateOfBirth);
  Item(out, Label(StringId::DateImmersedLabel), card.dateImmersed);
  if (card.sex != SexMark::kNone)
    out += LoadString(card.sex == SexMark::kMale ? StringId::Male : StringId::Female) + "\n";
  if (card.baptized) out += SheepText(card.anointed) + "\n";
  if (card.elder) out += Label(StringId::ElderBox) + "\n";
  if (card.ministerialServant) out += Label(StringId::MinisterialServantBox) + "\n";
  if (card.regularPioneer) out += Label(StringId::RegularPioneerBox) + "\n";
  return out;
}

std::string DescribeMonths(const CardContent& card) {
  if (!card.hasPublisher) return LoadString(StringId::NoPublisherChosen);
  const std::span<const ValueKind> kinds = GridKinds(card.newForm);
  auto values = [&](const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size() && i < kinds.size(); ++i) {
      if (cells[i].empty()) continue;
      if (!line.empty()) line += ", ";
      line += GridColumnTitle(kinds[i], card.newForm) + " " + cells[i];
    }
    return line;
  };
  std::string out = std::to_string(card.headingYear) + "\n";
  for (const CardMonthRow& row : card.rows) {
    if (!row.shownInPreview) continue;
    std::string line = values(row.cells);
    if (!row.remark.empty()) {
      if (!line.empty()) line += ", ";
      line += LoadString(StringId::RemarksColumn) + " " + row.remark;
    }
    out += GridMonthName(row.month) + ": " + (line.empty() ? "–" : line) + "\n";
  }
  out += LoadString(StringId::TotalRow) + ": " + values(card.previewTotals) + "\n";
  return out;
}

std::string MonthlyLedgerText(const CardContent& card, const MonthlyLedgerView& view) {
  std::string onCard, changed;
  auto add = [](std::string& list, const std::string& name) {
    list += (list.empty() ? "" : ", ") + name;
  };
  for (int row = 0; row < 12; ++row) {
    if (view.rows[row] == LedgerMark::kOnCard) add(onCard, GridMonthName(card.rows[row].month));
    if (view.rows[row] == LedgerMark::kChanged) add(changed, GridMonthName(card.rows[row].month));
  }
  if (view.total == LedgerMark::kOnCard) add(onCard, LoadString(StringId::TotalRow));
  if (view.total == LedgerMark::kChanged) add(changed, LoadString(StringId::TotalRow));
  std::string text;
  if (!onCard.empty()) text = LoadStringWith(StringId::LedgerRowsOnCard, {onCard}) + ".";
  if (!changed.empty())
    text +=
        (text.empty() ? "" : " ") + LoadStringWith(StringId::LedgerRowsChanged, {changed}) + ".";
  return text;
}

std::string HeaderLedgerText(const CardContent& card, const HeaderLedgerView& view) {
  if (!card.hasPublisher) return {};
  return view.note.empty() ? LoadString(StringId::LedgerHeaderNotPrinted) : view.note;
}

}  // namespace velunorh
