#include "session/ledger_rules.h"

#include <cstdio>

#include "base/string_table.h"
#include "card/card_digest.h"

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

LedgerMark MarkOf(const std::optional<LedgerStamp>& stamp, std::uint64_t digest) {
  if (!stamp) return LedgerMark::kNone;
  return stamp->digest == digest ? LedgerMark::kOnCard : LedgerMark::kChanged;
}

// The header is the same when it matches the print with or without the F/N marks: ticking F/N
// alone does not make a printed header look corrected.
bool HeaderChanged(const CardContent& card, const LedgerStamp& stamp) {
  return stamp.digest != HeaderDigest(card, false) && stamp.digest != HeaderDigest(card, true);
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
  for (int row = 0; row < 12; ++row)
    if (card.rows[row].printable)
      view.rows[row] = MarkOf(record->rows[row], RowDigest(card.rows[row]));
  view.total = MarkOf(record->total, TotalDigest(card));
  return view;
}

HeaderLedgerView HeaderLedgerOf(const CardContent& card, const CardRecord* record) {
  HeaderLedgerView view;
  if (!record || !record->header || !card.hasPublisher) return view;
  view.changed = HeaderChanged(card, *record->header);
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
  const MonthlyLedgerView view = MonthlyLedgerOf(card, record);
  for (int row = 0; row < 12; ++row) {
    const CardMonthRow& line = card.rows[row];
    due.rows[row] = line.printable && boxes.monthRowEnabled[row] && RowHasText(line) &&
                    view.rows[row] != LedgerMark::kOnCard;
  }
  due.total = boxes.totalEnabled && view.total != LedgerMark::kOnCard;
  // A header changed since it was printed is due: it is the same card, to be corrected (or a
  // new card started), and a warning no button acts on would only be ignored.
  due.header = !(record && record->header) || HeaderChanged(card, *record->header);
  return due;
}

bool DueGenderMarks(const DueLines& due, bool userTicked, bool editionTicks) {
  return due.header && (userTicked || editionTicks);
}

}  // namespace velunorh
