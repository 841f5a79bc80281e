#include "session/ledger_rules.h"

#include <cstdio>

#include "base/string_table.h"
#include "card/card_digest.h"
#include "card/card_text.h"

namespace velunorh {
namespace {

std::string Hex(std::uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

std::uint64_t NamesDigest(const PublisherRecord& record) {
  std::uint64_t hash = Fnv1a64({});
  hash = DigestWith(hash, record.RawText(PublisherRecord::kFamilyName));
  hash = DigestWith(hash, record.RawText(PublisherRecord::kGivenName));
  return DigestWith(hash, record.RawText(PublisherRecord::kDateOfBirth));
}

// What tells twins (same names and birth date) apart without their place in the file: the date
// immersed and the record's own link to its full name.
std::uint64_t TwinDigest(const PublisherRecord& record) {
  std::uint64_t hash =
      DigestWith(NamesDigest(record), record.RawText(PublisherRecord::kDateImmersed));
  return DigestWith(hash, std::to_string(record.extensionIndex()));
}

LedgerMark MarkOf(const std::optional<LedgerStamp>& stamp, bool matches) {
  if (!stamp) return LedgerMark::kNone;
  return matches ? LedgerMark::kOnCard : LedgerMark::kChanged;
}

// What changed of a line (0 the header, 1-12 the rows, 13 the total) since its stamp.
std::string ChangeOf(const CardContent& card, int item, const LedgerStamp& stamp) {
  return LedgerChangeText(card, item, stamp.values, stamp.digest);
}

std::string ShownDate(const CalendarDate& date) {
  char text[24];
  std::snprintf(text, sizeof text, "%04d.%02d.%02d.", date.year, date.month, date.day);
  return text;
}

}  // namespace

std::string LedgerPublisherKey(const PublisherTable& table, int slot) {
  if (!table.IsLoaded(slot) || slot < 1) return {};
  const PublisherRecord& record = table[slot];
  const std::uint16_t id = record.publisherId();
  bool shared = false;
  for (int other = 1; other < table.count && !shared; ++other)
    shared = other != slot && table.IsLoaded(other) && table[other].publisherId() == id;
  if (id >= 10 && !shared) return "id:" + std::to_string(id);
  const std::uint64_t names = NamesDigest(record);
  // Twins must never share one record: each gets a digest of its own stable fields, and twins
  // that agree in those too are counted in file order.
  const std::uint64_t own = TwinDigest(record);
  int twins = 0, same = 0, before = 0;
  for (int other = 1; other < table.count; ++other) {
    if (other == slot || !table.IsLoaded(other) || NamesDigest(table[other]) != names) continue;
    ++twins;
    if (TwinDigest(table[other]) != own) continue;
    ++same;
    if (other < slot) ++before;
  }
  if (twins == 0) return "nm:" + Hex(names);
  return "nm:" + Hex(same == 0 ? own : DigestWith(own, std::to_string(before)));
}

MonthlyLedgerView MonthlyLedgerOf(const CardContent& card, const CardRecord* record) {
  MonthlyLedgerView view;
  if (!record || !card.hasPublisher) return view;
  for (int row = 0; row < 12; ++row) {
    const auto& stamp = record->rows[row];
    if (!card.rows[row].printable) continue;
    view.rows[row] = MarkOf(stamp, stamp && RowMatches(card, row, stamp->digest));
    if (view.rows[row] == LedgerMark::kChanged)
      view.rowChanges[row] = ChangeOf(card, 1 + row, *stamp);
  }
  view.total = MarkOf(record->total, record->total && TotalMatches(card, record->total->digest));
  if (view.total == LedgerMark::kChanged) view.totalChange = ChangeOf(card, 13, *record->total);
  return view;
}

HeaderLedgerView HeaderLedgerOf(const CardContent& card, const CardRecord* record) {
  HeaderLedgerView view;
  if (!record || !record->header || !card.hasPublisher) return view;
  view.changed = !HeaderMatches(card, record->header->digest);
  if (view.changed) view.change = ChangeOf(card, 0, *record->header);
  view.note =
      LoadStringWith(view.changed ? StringId::LedgerHeaderChanged : StringId::LedgerHeaderPrinted,
                     {ShownDate(record->header->date)});
  return view;
}

bool DueLines::Any() const {
  for (bool row : rows)
    if (row) return true;
  return total || header;
}

DueLines DueOf(const CardContent& card, const CardRecord* record, const CardSelection& boxes) {
  DueLines due;
  if (!card.hasPublisher) return due;
  // Due is only what the card has nothing of: a line printed and changed since already holds
  // ink, and ink over ink cannot be read. It is shown ("!"), corrected by hand or on a new card.
  for (int row = 0; row < 12; ++row) {
    const CardMonthRow& line = card.rows[row];
    due.rows[row] = line.printable && boxes.monthRowEnabled[row] && RowHasText(line) &&
                    !(record && record->rows[row]);
  }
  due.total = boxes.totalEnabled && !(record && record->total);
  due.header = !(record && record->header);
  return due;
}

bool DueGenderMarks(const DueLines& due, bool userTicked, bool editionTicks) {
  return due.header && (userTicked || editionTicks);
}

DueLines OverprintOf(const CardContent& card, const CardRecord* record, const CardPageInput& page) {
  DueLines over;
  if (!record || !card.hasPublisher) return over;
  for (int row = 0; row < 12; ++row) {
    const CardMonthRow& line = card.rows[row];
    over.rows[row] = line.printable && page.grid.monthRow[row] && RowHasText(line) &&
                     record->rows[row].has_value();
  }
  over.total = page.grid.printTotal && record->total.has_value();
  over.header = page.header.printHeader && record->header.has_value();
  return over;
}

CardPageInput WithoutOverprint(CardPageInput page, const DueLines& overprint) {
  for (int row = 0; row < 12; ++row)
    if (overprint.rows[row]) page.grid.monthRow[row] = false;
  if (overprint.total) page.grid.printTotal = false;
  if (overprint.header) {
    page.header.printHeader = false;
    page.header.printGenderMarks = false;
  }
  return page;
}

std::string LineNames(const CardContent& card, const CardRecord* record, const DueLines& lines) {
  const MonthlyLedgerView months = MonthlyLedgerOf(card, record);
  const HeaderLedgerView header = HeaderLedgerOf(card, record);
  std::vector<std::string> names;
  const auto add = [&](int item, const std::string& change) {
    names.push_back(change.empty() ? LedgerItemName(card, item) : change);
  };
  if (lines.header) add(0, header.change);
  for (int row = 0; row < 12; ++row)
    if (lines.rows[row]) add(1 + row, months.rowChanges[row]);
  if (lines.total) add(13, months.totalChange);
  return LedgerItemList(names);
}

}  // namespace velunorh
