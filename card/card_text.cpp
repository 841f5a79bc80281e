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

}  // namespace velunorh
