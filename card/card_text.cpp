#include "card/card_text.h"

#include <algorithm>
#include <span>

#include "base/string_table.h"
#include "card/card_digest.h"
#include "card/grid_texts.h"
#include "card/grid_values.h"
#include "card/ledger_values.h"

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

// A value of a change as the texts show it: "–" when empty, in quotes when it has blanks.
std::string Shown(const std::string& value) {
  if (value.empty()) return LoadString(StringId::LedgerChangeNothing);
  if (value.find(' ') == std::string::npos) return value;
  return LoadStringWith(StringId::LedgerChangeQuoted, {value});
}

void AddChange(std::vector<std::string>& fields, const std::string& label, const std::string& was,
               const std::string& now) {
  if (was != now) fields.push_back(LoadStringWith(StringId::LedgerChangeField, {label, was, now}));
}

// The cells of one card version that differ, by their column titles.
void CellChanges(std::vector<std::string>& fields, const std::vector<std::string>& was,
                 const std::vector<std::string>& now, bool newForm) {
  const std::span<const ValueKind> kinds = GridKinds(newForm);
  for (std::size_t i = 0; i < std::max(was.size(), now.size()); ++i) {
    const std::string before = i < was.size() ? was[i] : std::string();
    const std::string after = i < now.size() ? now[i] : std::string();
    const std::string title =
        i < kinds.size() ? GridColumnTitle(kinds[i], newForm) : std::to_string(i + 1);
    AddChange(fields, title, Shown(before), Shown(after));
  }
}

// The figures of the card version printed now; those of the other version only when these
// are the same (a figure only the other version has a column for).
template <typename Data>
void FormChanges(std::vector<std::string>& fields, const Data& was, const Data& now, bool newForm) {
  const auto form = [](const Data& data, bool newOne) -> const std::vector<std::string>& {
    return newOne ? data.newForm : data.oldForm;
  };
  CellChanges(fields, form(was, newForm), form(now, newForm), newForm);
  if (fields.empty()) CellChanges(fields, form(was, !newForm), form(now, !newForm), !newForm);
}

std::vector<std::string> RowChanges(const CardContent& card, int row, const RowData& was) {
  const RowData now = RowDataOf(card, row);
  std::vector<std::string> fields;
  FormChanges(fields, was, now, card.newForm);
  AddChange(fields, LoadString(StringId::RemarksColumn), Shown(was.remark), Shown(now.remark));
  return fields;
}

std::vector<std::string> TotalChanges(const CardContent& card, const TotalData& was) {
  std::vector<std::string> fields;
  FormChanges(fields, was, TotalDataOf(card), card.newForm);
  return fields;
}

// The name as the card writes it now (full name, or family or given name first), made of one
// side's fields.
std::string NameAsShown(const CardContent& card, const HeaderData& data) {
  if (card.hasFullName && card.displayName == card.fullName && !data[kFullNameField].empty())
    return data[kFullNameField];
  if (card.displayName == card.familyName + ", " + card.givenName)
    return data[kFamilyNameField] + ", " + data[kGivenNameField];
  return data[kGivenNameField] + " " + data[kFamilyNameField];
}

std::string YesNo(const std::string& box) {
  return LoadString(box.empty() ? StringId::LedgerChangeNo : StringId::LedgerChangeYes);
}

std::string SexWord(const std::string& gender) {
  if (gender == kMaleWord) return LoadString(StringId::Male);
  if (gender == kFemaleWord) return LoadString(StringId::Female);
  return Shown(gender);
}

std::vector<std::string> HeaderChanges(const CardContent& card, const HeaderData& was) {
  // The F/N marks were printed or not; the card now is compared as it would print the same way.
  const HeaderData now = HeaderDataOf(card, !was[kGenderField].empty());
  std::vector<std::string> fields;
  const std::string name = Label(StringId::NameLabel);
  // A change of the name that the card's way of writing it does not show is told in the fields
  // that changed.
  const std::string shownBefore = NameAsShown(card, was), shownNow = NameAsShown(card, now);
  if (shownBefore != shownNow)
    AddChange(fields, name, Shown(shownBefore), Shown(shownNow));
  else if (was[kFullNameField] != now[kFullNameField])
    AddChange(fields, name, Shown(was[kFullNameField]), Shown(now[kFullNameField]));
  else
    AddChange(fields, name, Shown(was[kFamilyNameField] + ", " + was[kGivenNameField]),
              Shown(now[kFamilyNameField] + ", " + now[kGivenNameField]));
  AddChange(fields, LoadString(StringId::LedgerChangeSexLabel), SexWord(was[kGenderField]),
            SexWord(now[kGenderField]));
  const auto text = [&](StringId label, HeaderField field) {
    AddChange(fields, Label(label), Shown(was[field]), Shown(now[field]));
  };
  const auto box = [&](StringId label, HeaderField field) {
    AddChange(fields, Label(label), YesNo(was[field]), YesNo(now[field]));
  };
  text(StringId::HomeAddressLabel, kAddressField);
  text(StringId::HomeTelephoneLabel, kHomeTelephoneField);
  text(StringId::MobileTelephoneLabel, kMobileTelephoneField);
  text(StringId::DateOfBirthLabel, kBirthField);
  text(StringId::DateImmersedLabel, kImmersedField);
  text(StringId::AnointedOrOtherSheepLabel, kSheepField);
  box(StringId::ElderBox, kElderField);
  box(StringId::MinisterialServantBox, kServantField);
  box(StringId::RegularPioneerBox, kPioneerField);
  return fields;
}

// The fields that changed, or nothing when the values cannot tell (see LedgerChangeText).
std::vector<std::string> ChangedFields(const CardContent& card, int item, std::string_view values,
                                       std::uint64_t digest) {
  if (values.empty()) return {};
  if (item == 0) {
    const auto was = ReadHeaderValues(values);
    if (!was || DataDigest(*was) != digest) return {};
    return HeaderChanges(card, *was);
  }
  if (item == kLedgerItems - 1) {
    const auto was = ReadTotalValues(values);
    if (!was || DataDigest(*was) != digest) return {};
    return TotalChanges(card, *was);
  }
  const auto was = ReadRowValues(values);
  if (!was || DataDigest(*was) != digest) return {};
  return RowChanges(card, item - 1, *was);
}

}  // namespace

std::string LedgerItemName(const CardContent& card, int item) {
  if (item == 0) return LoadString(StringId::OverprintHeaderName);
  if (item == kLedgerItems - 1) return LoadString(StringId::TotalRow);
  return GridMonthName(card.rows[item - 1].month);
}

std::string LedgerChangeText(const CardContent& card, int item, std::string_view values,
                             std::uint64_t digest) {
  const std::vector<std::string> fields = ChangedFields(card, item, values, digest);
  if (fields.empty()) return LedgerItemName(card, item);
  std::string list;
  for (const std::string& field : fields) list += (list.empty() ? "" : ", ") + field;
  return LoadStringWith(StringId::LedgerChangeItem, {LedgerItemName(card, item), list});
}

std::string LedgerItemList(const std::vector<std::string>& items) {
  // An item that tells its fields has them after a colon, separated by commas.
  const bool fields = std::any_of(items.begin(), items.end(), [](const std::string& item) {
    return item.find(':') != std::string::npos;
  });
  std::string list;
  for (const std::string& item : items) list += (list.empty() ? "" : fields ? "; " : ", ") + item;
  return list;
}

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
  std::vector<std::string> onCard, changed;
  const auto add = [&](LedgerMark mark, int item, const std::string& change) {
    if (mark == LedgerMark::kOnCard) onCard.push_back(LedgerItemName(card, item));
    if (mark == LedgerMark::kChanged)
      changed.push_back(change.empty() ? LedgerItemName(card, item) : change);
  };
  for (int row = 0; row < 12; ++row) add(view.rows[row], 1 + row, view.rowChanges[row]);
  add(view.total, kLedgerItems - 1, view.totalChange);
  std::string text;
  if (!onCard.empty())
    text = LoadStringWith(StringId::LedgerRowsOnCard, {LedgerItemList(onCard)}) + ".";
  if (!changed.empty())
    text += (text.empty() ? "" : " ") +
            LoadStringWith(StringId::LedgerRowsChanged, {LedgerItemList(changed)}) + ".";
  return text;
}

std::string HeaderLedgerText(const CardContent& card, const HeaderLedgerView& view) {
  if (!card.hasPublisher) return {};
  if (view.note.empty()) return LoadString(StringId::LedgerHeaderNotPrinted);
  // The note the preview draws is short; what changed follows it when the ledger can tell.
  if (!view.changed || view.change.empty() || view.change == LedgerItemName(card, 0))
    return view.note;
  return view.note + ". " + view.change;
}

}  // namespace velunorh
