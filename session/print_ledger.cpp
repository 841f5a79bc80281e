#include "session/print_ledger.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <tuple>
#include <vector>

#include "base/atomic_file.h"
#include "base/platform.h"
#include "base/profile_file.h"
#include "base/string_table.h"
#include "base/system_reason.h"
#include "base/whole_file.h"
#include "card/card_digest.h"
#include "card/ledger_values.h"

namespace velunorh {
namespace {

constexpr std::string_view kHeaderKey = "Header";
constexpr std::string_view kTotalKey = "Total";
constexpr std::string_view kNameKey = "Name";
// After a line's key, the key of what it was printed from: "Month09Data".
constexpr std::string_view kDataSuffix = "Data";

// `value` as `width` decimal digits, leading zeros included. Written by hand: a ledger of years
// holds hundreds of thousands of them, and a save formats every one.
void PutDigits(char* at, int value, int width) {
  for (int i = width - 1; i >= 0; --i, value /= 10) at[i] = static_cast<char>('0' + value % 10);
}

// The key of a month row: its calendar month, 1-12.
const std::string& MonthKey(int row) {
  static const std::array<std::string, 12> kKeys = [] {
    std::array<std::string, 12> keys;
    for (int r = 0; r < 12; ++r) {
      keys[r] = "Month00";
      PutDigits(&keys[r][5], ServiceYear::RowMonth(r) + 1, 2);
    }
    return keys;
  }();
  return kKeys[row];
}

bool Digits(std::string_view s, std::size_t count) {
  if (s.size() != count) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

int Number(std::string_view digits) {
  int n = 0;
  for (char c : digits) n = n * 10 + (c - '0');
  return n;
}

std::optional<std::uint64_t> ParseHex(std::string_view s) {
  if (s.size() != 16) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : s) {
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint64_t>(digit);
  }
  return value;
}

// "YYYY-MM-DD 0123456789abcdef"
std::optional<LedgerStamp> ParseStamp(std::string_view value) {
  if (value.size() != 27 || value[4] != '-' || value[7] != '-' || value[10] != ' ')
    return std::nullopt;
  if (!Digits(value.substr(0, 4), 4) || !Digits(value.substr(5, 2), 2) ||
      !Digits(value.substr(8, 2), 2))
    return std::nullopt;
  LedgerStamp stamp;
  stamp.date = {Number(value.substr(0, 4)), Number(value.substr(5, 2)), Number(value.substr(8, 2))};
  if (stamp.date.month < 1 || stamp.date.month > 12 || stamp.date.day < 1 || stamp.date.day > 31)
    return std::nullopt;
  auto digest = ParseHex(value.substr(11));
  if (!digest) return std::nullopt;
  stamp.digest = *digest;
  return stamp;
}

// "YYYY-MM-DD 0123456789abcdef"
constexpr std::size_t kStampSize = 27;

// Appends "<key>=YYYY-MM-DD 0123456789abcdef\n". The ledger's keys and stamps always read back
// as written, so they go straight into the text: the settings writer's checks of each key and
// value cost more than the rest of a save together.
void PutStampLine(std::string& text, std::string_view key, const LedgerStamp& stamp) {
  text += key;
  text += '=';
  const std::size_t at = text.size();
  text.resize(at + kStampSize + 1);
  char* line = &text[at];
  PutDigits(line, stamp.date.year % 10000, 4);
  line[4] = '-';
  PutDigits(line + 5, stamp.date.month % 100, 2);
  line[7] = '-';
  PutDigits(line + 8, stamp.date.day % 100, 2);
  line[10] = ' ';
  for (int i = 0; i < 16; ++i)
    line[11 + i] = "0123456789abcdef"[(stamp.digest >> (60 - 4 * i)) & 0xF];
  line[kStampSize] = '\n';
}

// Appends "<key>Data=<values>\n" after a stamp's line, the values in quotes when the reader
// would trim or unquote them. Like the stamps they go straight into the text: they never hold
// a line break.
void PutValuesLine(std::string& text, std::string_view key, const std::string& values) {
  if (values.empty()) return;
  const auto trimmed = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  const auto quote = [](char c) { return c == '"' || c == '\''; };
  const bool quoted = trimmed(values.front()) || trimmed(values.back()) || quote(values.front());
  text += key;
  text += kDataSuffix;
  text += '=';
  if (quoted) text += '"';
  text += values;
  if (quoted) text += '"';
  text += '\n';
}

// "2025 id:1234" or "2025 nm:0123456789abcdef"
std::optional<std::pair<int, std::string>> ParseSection(std::string_view name) {
  if (name.size() < 9 || !Digits(name.substr(0, 4), 4) || name[4] != ' ') return std::nullopt;
  const std::string_view key = name.substr(5);
  const std::string_view rest = key.substr(3);
  const bool id = key.starts_with("id:") && !rest.empty() && rest.size() <= 5 &&
                  Digits(rest, rest.size()) && rest[0] != '0';
  const bool names = key.starts_with("nm:") && ParseHex(rest);
  if (!id && !names) return std::nullopt;
  return std::pair{Number(name.substr(0, 4)), std::string(key)};
}

std::string SectionName(int year, const std::string& key) {
  // Four digits, as the reader takes them: "0999", never "999".
  std::string name = "0000 " + key;
  PutDigits(&name[0], year % 10000, 4);
  return name;
}

// The first line of every ledger written.
const std::string& Heading() {
  static const std::string kHeading =
      "; " + LoadString(StringId::ProgramName) +
      ": what went onto each publisher's card, one section per service year and publisher.";
  return kHeading;
}

// Which line of a card a key names: -1 the header, 12 the total, 0-11 a month row; nothing for
// a key the ledger does not know.
std::optional<int> LineOfKey(std::string_view key) {
  if (EqualsIgnoringCase(key, kHeaderKey)) return -1;
  if (EqualsIgnoringCase(key, kTotalKey)) return 12;
  if (key.size() == 7 && EqualsIgnoringCase(key.substr(0, 5), "Month") &&
      Digits(key.substr(5), 2)) {
    const int month = Number(key.substr(5));
    if (month >= 1 && month <= 12) return ServiceYear::MonthRow(month - 1);
  }
  return std::nullopt;
}

// Which line a "Data" key tells the values of, as LineOfKey.
std::optional<int> LineOfDataKey(std::string_view key) {
  if (key.size() <= kDataSuffix.size() ||
      !EqualsIgnoringCase(key.substr(key.size() - kDataSuffix.size()), kDataSuffix))
    return std::nullopt;
  return LineOfKey(key.substr(0, key.size() - kDataSuffix.size()));
}

std::optional<LedgerStamp>& Line(CardRecord& record, int line) {
  if (line < 0) return record.header;
  if (line >= 12) return record.total;
  return record.rows[line];
}

// A line by its place in LedgerEntry's arrays (0 the header, 13 the total).
std::optional<LedgerStamp>& EntryLine(CardRecord& record, int index) {
  return Line(record, index - 1);
}

// The name as the file can hold it: it is only there for people to read, and one with a line
// break in it could not be written back.
// The newer of two stamps of one line; at the same date this run's, which is being saved now.
void KeepNewer(std::optional<LedgerStamp>& onDisk, const std::optional<LedgerStamp>& mine) {
  const auto day = [](const CalendarDate& d) { return std::tuple(d.year, d.month, d.day); };
  if (mine && (!onDisk || day(onDisk->date) <= day(mine->date))) onDisk = mine;
}

// The whole file in one pass: the heading, the notes before the first section, the cards in
// order each with the lines kept of it, then the sections that are not a card's.
std::string WriteLedger(const LedgerCards& cards, const std::vector<std::string>& lead,
                        const std::vector<std::string>& foreign) {
  std::string text = Heading() + "\n";
  // Some 40 bytes a line and 30 lines a card at most, half of them what the lines were printed
  // from.
  text.reserve(text.size() + cards.size() * 30 * 45);
  const auto raw = [&text](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) (text += line) += '\n';
  };
  raw(lead);
  ProfileWriter writer(text);
  for (const auto& [where, record] : cards) {
    const bool written = writer.Section(SectionName(where.first, where.second));
    writer.Key(kNameKey, LedgerNameToKeep(record.name));
    if (written) {
      const auto put = [&text](std::string_view key, const std::optional<LedgerStamp>& stamp) {
        if (!stamp) return;
        PutStampLine(text, key, *stamp);
        PutValuesLine(text, key, stamp->values);
      };
      put(kHeaderKey, record.header);
      for (int row = 0; row < 12; ++row) put(MonthKey(row), record.rows[row]);
      put(kTotalKey, record.total);
    }
    raw(record.kept);
  }
  if (!foreign.empty()) text += '\n';
  raw(foreign);
  return text;
}

}  // namespace

bool SetTooLargeFileAside(const std::filesystem::path& file, const CalendarDate& today,
                          const WholeFile& read, std::string* error,
                          std::filesystem::path* setAside) {
  const std::filesystem::path aside = FreeDamagedName(file, today);
  std::error_code ec;
  std::filesystem::rename(file, aside, ec);
  if (ec) {
    if (error) *error = read.error;
    return false;
  }
  if (setAside) *setAside = aside;
  return true;
}

std::filesystem::path FreeDamagedName(const std::filesystem::path& file,
                                      const CalendarDate& today) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, ".damaged-%04d%02d%02d", today.year, today.month, today.day);
  std::filesystem::path aside = file;
  aside += stamp;
  std::error_code ec;
  for (int n = 2; std::filesystem::exists(aside, ec); ++n) {
    aside = file;
    aside += std::string(stamp) + "-" + std::to_string(n);
  }
  return aside;
}

std::string LedgerCardName(int serviceYear, const std::string& key) {
  return SectionName(serviceYear, key);
}

std::optional<std::pair<int, std::string>> ParseLedgerCardName(std::string_view name) {
  return ParseSection(name);
}

std::string LedgerStampText(const LedgerStamp& stamp) {
  std::string line;
  PutStampLine(line, "", stamp);
  return line.substr(1, kStampSize);  // without "=" and the line end
}

std::string LedgerNameToKeep(std::string_view name) {
  return name.find_first_of("\r\n") == std::string_view::npos ? std::string(name) : std::string();
}

std::optional<LedgerStamp> ParseLedgerStamp(std::string_view text) {
  return ParseStamp(text);
}

std::string LedgerLineKey(int index) {
  if (index <= 0) return std::string(kHeaderKey);
  if (index >= 13) return std::string(kTotalKey);
  return MonthKey(index - 1);
}

std::optional<int> LedgerLineOfKey(std::string_view key) {
  const auto line = LineOfKey(key);
  if (!line) return std::nullopt;
  return *line + 1;
}

int LedgerServiceYear(const CardContent& card) {
  // From the card's own year, not from the preview's heading: the calendar year of the
  // September that begins the service year the card shows.
  const ServiceYear& year = card.year;
  const bool septemberToNovember = year.reportMonth >= 8 && year.reportMonth <= 10;
  const int running = septemberToNovember ? year.currentYear : year.currentYear - 1;
  return year.previousServiceYear ? running - 1 : running;
}

std::optional<LedgerCards> PrintLedger::Parse(std::string_view text, int* skipped) {
  auto read = Read(text, false, skipped);
  if (!read) return std::nullopt;
  return std::move(read->cards);
}

std::optional<LedgerFile> PrintLedger::Read(std::string_view text, bool keepDamaged, int* skipped,
                                            std::vector<SkippedLines>* which) {
  // A damaged line (a hand edit, a broken write) costs that line only: the other cards' records
  // stay. Only a text of which nothing at all can be read is damaged as a whole.
  int damaged = 0;
  LedgerFile file;
  // Where the lines being read go: before the first section, a card's, a section not of a
  // card's (kept whole), or a card's section repeated (damaged, with all of its lines).
  enum class In { kLead, kCard, kForeign, kRepeatedCard } in = In::kLead;
  CardRecord* record = nullptr;
  std::pair<int, std::string> where;
  // The "Data" keys read, given to their lines once the whole text is read.
  struct Values {
    CardRecord* card;
    int line;
    std::string text;
  };
  std::vector<Values> values;
  const auto damage = [&](std::string_view line, int item) {
    ++damaged;
    if (keepDamaged) {
      // A card's section repeated stays with the card: a restart drops it with the card.
      (record && (in == In::kCard || in == In::kRepeatedCard) ? record->kept
       : in == In::kLead                                      ? file.lead
                                                              : file.foreign)
          .emplace_back(line);
    }
    if (!which) return;
    const bool ofCard = in == In::kCard || in == In::kRepeatedCard;
    const int year = ofCard ? where.first : 0;
    const std::string key = ofCard ? where.second : std::string();
    if (which->empty() || which->back().serviceYear != year || which->back().key != key)
      which->push_back({year, key, {}, {}});
    auto& lines = which->back().lines;
    if (std::find(lines.begin(), lines.end(), item) == lines.end()) lines.push_back(item);
  };
  VisitProfileLines(text, [&](const ProfileLine& read) {
    // A line kept is written back with a plain line end: the carriage returns it ends in would
    // not read back, and mean nothing.
    ProfileLine line = read;
    while (line.text.ends_with('\r')) line.text.remove_suffix(1);
    using Kind = ProfileLine::Kind;
    switch (line.kind) {
      case Kind::kBlank:
        return;
      case Kind::kSection:
      case Kind::kIgnoredSection: {
        auto card = ParseSection(line.name);
        record = nullptr;
        if (!card) {
          in = In::kForeign;
          file.foreign.emplace_back(line.text);
          return;
        }
        where = std::move(*card);
        // The file is written in order: each card then goes at the end without a search.
        auto& cards = file.cards;
        const bool last = cards.empty() || std::prev(cards.end())->first < where;
        const auto [at, added] =
            line.kind == Kind::kIgnoredSection ? std::pair{cards.end(), false}
            : last ? std::pair{cards.emplace_hint(cards.end(), where, CardRecord{}), true}
                   : cards.try_emplace(where);
        if (added) {
          in = In::kCard;
          record = &at->second;
          return;
        }
        in = In::kRepeatedCard;
        if (const auto first = cards.find(where); first != cards.end()) record = &first->second;
        damage(line.text, 13);
        return;
      }
      case Kind::kComment:
        if (in == In::kCard || (in == In::kRepeatedCard && record && keepDamaged))
          record->kept.emplace_back(line.text);
        else if (in == In::kLead) {
          if (line.text != Heading()) file.lead.emplace_back(line.text);
        } else if (in == In::kForeign || keepDamaged)
          file.foreign.emplace_back(line.text);
        return;
      case Kind::kOther:
        if (in == In::kForeign)
          file.foreign.emplace_back(line.text);
        else
          damage(line.text, 13);
        return;
      case Kind::kKey:
      case Kind::kIgnoredKey:
        break;
    }
    if (in == In::kForeign) {
      file.foreign.emplace_back(line.text);
      return;
    }
    const bool name = EqualsIgnoringCase(line.name, kNameKey);
    const auto lineOf = LineOfKey(line.name);
    const auto valuesOf = name || lineOf ? std::nullopt : LineOfDataKey(line.name);
    if (in == In::kCard && !name && !lineOf && !valuesOf) {
      record->kept.emplace_back(line.text);  // a key of another name: another version's
      return;
    }
    if (valuesOf && in == In::kCard) {
      // Values repeated, or (found once the text is read) without their line, mean nothing:
      // they are left out.
      if (line.kind == Kind::kKey) values.push_back({record, *valuesOf, std::string(line.value)});
      return;
    }
    const int item = lineOf ? *lineOf : valuesOf ? *valuesOf : 13;
    if (in != In::kCard || line.kind == Kind::kIgnoredKey) {
      damage(line.text, item);
      return;
    }
    if (name) {
      record->name = LedgerNameToKeep(line.value);
      return;
    }
    const auto stamp = ParseStamp(line.value);
    if (!stamp || Line(*record, *lineOf)) {
      damage(line.text, item);
      return;
    }
    Line(*record, *lineOf) = *stamp;
  });
  // Each line's values, wherever in its section they stood; without the line they mean nothing.
  for (auto& [card, line, text] : values)
    if (auto& stamp = Line(*card, line)) stamp->values = std::move(text);
  // The names the file gives the cards whose lines were left out.
  if (which)
    for (SkippedLines& lines : *which)
      if (const auto card = file.cards.find({lines.serviceYear, lines.key});
          !lines.key.empty() && card != file.cards.end())
        lines.name = card->second.name;
  if (skipped) *skipped = damaged;
  if (!keepDamaged && damaged > 0 && file.cards.empty()) return std::nullopt;
  return file;
}

PrintLedger::LoadResult PrintLedger::Load(const std::filesystem::path& file,
                                          const CalendarDate& today) {
  file_ = file;
  cards_.clear();
  lead_.clear();
  foreign_.clear();
  lastText_.clear();
  seen_.reset();
  unsaved_.clear();
  writable_ = true;
  LoadResult result;
  const WholeFile read = ReadFileUpTo(file, kMaxBytes);
  if (read.status == WholeFile::Status::kMissing) return result;
  if (read.status != WholeFile::Status::kRead && read.status != WholeFile::Status::kTooLarge) {
    writable_ = false;
    result.outcome = LoadOutcome::kUnreadable;
    result.error = read.error;
    return result;
  }
  int skipped = 0;
  std::optional<LedgerFile> ledger;
  if (read.status == WholeFile::Status::kRead)
    ledger = Read(read.bytes, false, &skipped, &result.skipped);
  if (ledger) {
    cards_ = std::move(ledger->cards);
    lead_ = std::move(ledger->lead);
    foreign_ = std::move(ledger->foreign);
    lastText_ = read.bytes;
    seen_ = SeenNow();
    if (skipped == 0) return result;
    // The original stays beside the ledger as it was, since the next save leaves those lines out.
    result.outcome = LoadOutcome::kPartlyRead;
    result.skippedLines = skipped;
    result.setAside = FreeDamagedName(file, today);
    std::error_code ec;
    std::filesystem::copy_file(file, result.setAside, ec);
    if (ec) {
      writable_ = false;  // without the copy, never written over
      result.error = SystemReason(ec);
    }
    return result;
  }
  // Damaged, or far larger than years of cards make: not read, but kept aside whole.
  const std::filesystem::path aside = FreeDamagedName(file, today);
  std::error_code ec;
  std::filesystem::rename(file, aside, ec);
  if (ec) {
    // Kept where it is, and never written over this run.
    writable_ = false;
    result.outcome = LoadOutcome::kUnreadable;
    result.error = read.status == WholeFile::Status::kTooLarge ? read.error : SystemReason(ec);
    return result;
  }
  result.skipped.clear();  // all of it is aside
  result.outcome = LoadOutcome::kSetAside;
  result.setAside = aside;
  result.tooLarge = read.status == WholeFile::Status::kTooLarge;
  return result;
}

const CardRecord* PrintLedger::Find(int serviceYear, const std::string& key) const {
  auto it = cards_.find({serviceYear, key});
  return it == cards_.end() ? nullptr : &it->second;
}

bool LedgerEntry::Empty() const {
  return std::none_of(stamped.begin(), stamped.end(), [](const auto& s) { return s.has_value(); });
}

LedgerEntry PrintLedger::Record(const PrintedCard& printed, const CalendarDate& date) {
  LedgerEntry entry;
  const CardContent& card = *printed.card;
  if (!card.hasPublisher || printed.key.empty()) return entry;
  const int year = LedgerServiceYear(card);
  Unsaved& unsaved = Touch({year, printed.key});
  CardRecord& record = cards_[{year, printed.key}];
  record.name = card.displayName;
  entry.serviceYear = year;
  entry.key = printed.key;
  entry.name = card.displayName;
  const auto stamp = [&](int line, const LedgerStamp& value) {
    entry.before[line] = EntryLine(record, line);
    entry.stamped[line] = value;
    EntryLine(record, line) = value;
    unsaved.recorded[line] = true;
    unsaved.takenBack[line].reset();
  };
  // Each line with the data it was printed from, to tell later what changed.
  const auto with = [&date](const auto& data) {
    return LedgerStamp{date, DataDigest(data), ValuesText(data)};
  };
  if (printed.page.header.printHeader)
    stamp(0, with(HeaderDataOf(card, printed.page.header.printGenderMarks)));
  for (int row = 0; row < 12; ++row) {
    const CardMonthRow& line = card.rows[row];
    if (line.printable && printed.page.grid.monthRow[row] && RowHasText(line))
      stamp(1 + row, with(RowDataOf(card, row)));
  }
  if (printed.page.grid.printTotal) stamp(13, with(TotalDataOf(card)));
  // A card that printed nothing the ledger keeps leaves no empty section behind.
  CardRecord nothing;
  nothing.name = record.name;
  if (record == nothing) cards_.erase({year, printed.key});
  return entry;
}

std::vector<int> PrintLedger::TakeBack(const LedgerEntry& entry) {
  std::vector<int> lines;
  const std::pair where{entry.serviceYear, entry.key};
  auto card = cards_.find(where);
  if (entry.Empty() || card == cards_.end()) return lines;
  Unsaved& unsaved = Touch(where);
  card = cards_.find(where);
  for (int line = 0; line < 14; ++line) {
    // Printed again since (or restarted): that print is not this one's to take back.
    const auto& now = EntryLine(card->second, line);
    if (!entry.stamped[line] || !now || !now->SamePrint(*entry.stamped[line])) continue;
    EntryLine(card->second, line) = entry.before[line];
    unsaved.recorded[line] = false;
    unsaved.takenBack[line] = entry.stamped[line];
    lines.push_back(line);
  }
  CardRecord nothing;
  nothing.name = card->second.name;
  nothing.kept = card->second.kept;
  if (card->second == nothing && nothing.kept.empty()) cards_.erase(card);
  return lines;
}

bool PrintLedger::Forget(int serviceYear, const std::string& key) {
  if (!cards_.contains({serviceYear, key})) return false;
  Unsaved& unsaved = Touch({serviceYear, key});
  unsaved.restarted = true;
  unsaved.recorded = {};
  cards_.erase({serviceYear, key});
  return true;
}

PrintLedger::Unsaved& PrintLedger::Touch(const std::pair<int, std::string>& where) {
  const auto [it, first] = unsaved_.try_emplace(where);
  // The first change since the save is what a failed save goes back to.
  if (first)
    if (const auto card = cards_.find(where); card != cards_.end())
      it->second.before = card->second;
  return it->second;
}

void PrintLedger::DropUnsaved() {
  for (auto& [where, unsaved] : unsaved_) {
    if (unsaved.before)
      cards_[where] = std::move(*unsaved.before);
    else
      cards_.erase(where);
  }
  unsaved_.clear();
}

std::string PrintLedger::Text() const {
  return WriteLedger(cards_, lead_, foreign_);
}

std::string PrintLedger::TextOf(const LedgerCards& cards) {
  return WriteLedger(cards, {}, {});
}

std::string PrintLedger::TextOf(const LedgerFile& file) {
  return WriteLedger(file.cards, file.lead, file.foreign);
}

bool PrintLedger::Save(std::string* error, std::filesystem::path* setAside,
                       std::chrono::milliseconds lockWait, bool* busy) {
  if (busy) *busy = false;
  if (!writable_) {
    if (error) *error = LoadString(StringId::LedgerNotReadable);
    return false;
  }
  // Made read-only by the user, as a settings file may be: kept as it is, whoever runs us.
  if (IsMarkedReadOnly(file_)) {
    if (error) *error = LoadString(StringId::LedgerFileReadOnly);
    return false;
  }
  // One lock for every way to the file: two copies may reach a shared ledger through links.
  std::filesystem::path lockFile = FileBehindLinks(file_);
  lockFile += ".lock";
  const auto lock = FileLock::Acquire(lockFile, lockWait, error, busy);
  if (!lock) return false;
  std::optional<LedgerFile> onDisk;
  const WholeFile read = ReadFileUpTo(file_, kMaxBytes);
  if (read.status == WholeFile::Status::kRead && read.bytes != lastText_) {
    // Every line the other writer wrote is kept, those this version cannot read too.
    onDisk = Read(read.bytes, true);
  } else if (read.status == WholeFile::Status::kTooLarge) {
    // Too large to merge: kept aside whole, as at start, before this copy's ledger is written.
    if (!SetTooLargeFileAside(file_, Today(), read, error, setAside)) return false;
  } else if (read.status != WholeFile::Status::kRead &&
             read.status != WholeFile::Status::kMissing) {
    // Not to be written over unseen.
    if (error) *error = read.error;
    return false;
  }
  if (onDisk) {
    for (const auto& [where, unsaved] : unsaved_) {
      if (unsaved.restarted) onDisk->cards.erase(where);
      // A print taken back: what is on disk of it goes, unless another copy printed since.
      if (const auto disk = onDisk->cards.find(where); disk != onDisk->cards.end()) {
        const auto mine = cards_.find(where);
        for (int line = 0; line < 14; ++line) {
          const auto& onDisk = EntryLine(disk->second, line);
          if (!unsaved.takenBack[line] || !onDisk || !onDisk->SamePrint(*unsaved.takenBack[line]))
            continue;
          EntryLine(disk->second, line) =
              mine == cards_.end() ? std::nullopt : EntryLine(mine->second, line);
        }
        CardRecord nothing;
        nothing.name = disk->second.name;
        if (disk->second == nothing) onDisk->cards.erase(disk);
      }
      const auto mine = cards_.find(where);
      if (mine == cards_.end()) continue;
      // Only what this copy printed since its last save: a line it merely read at start may be
      // of an old card another copy has restarted since.
      const auto& recorded = unsaved.recorded;
      if (recorded == decltype(unsaved.recorded){}) continue;
      CardRecord& merged = onDisk->cards[where];
      merged.name = mine->second.name;
      for (int line = 0; line < 14; ++line)
        if (recorded[line]) KeepNewer(EntryLine(merged, line), EntryLine(mine->second, line));
    }
  }
  std::string text = onDisk ? TextOf(*onDisk) : Text();
  // A file the next start would set aside is never written.
  const bool fits = text.size() <= kMaxBytes;
  if (!fits && error)
    *error = LoadStringWith(StringId::LedgerWouldBeTooLarge, {std::to_string(kMaxBytes >> 20)});
  if (!fits || !WriteFileAtomically(file_, text, error)) return false;
  // What another copy printed shows here too from now on.
  if (onDisk) {
    cards_ = std::move(onDisk->cards);
    lead_ = std::move(onDisk->lead);
    foreign_ = std::move(onDisk->foreign);
  }
  lastText_ = std::move(text);
  seen_ = SeenNow();
  unsaved_.clear();
  return true;
}

std::optional<PrintLedger::Seen> PrintLedger::SeenNow() const {
  std::error_code ec;
  const auto size = std::filesystem::file_size(file_, ec);
  if (ec) return std::nullopt;
  const auto time = std::filesystem::last_write_time(file_, ec);
  if (ec) return std::nullopt;
  return Seen{size, time};
}

bool PrintLedger::ReadAgainIfChanged() {
  // Unsaved changes are only there while a save fails; the next save merges then.
  if (!writable_ || !unsaved_.empty()) return false;
  const auto now = SeenNow();
  if (!now || now == seen_) return false;
  seen_ = now;
  const WholeFile read = ReadFileUpTo(file_, kMaxBytes);
  if (read.status != WholeFile::Status::kRead || read.bytes == lastText_) return false;
  int skipped = 0;
  auto ledger = Read(read.bytes, false, &skipped);
  if (!ledger || skipped > 0) return false;
  cards_ = std::move(ledger->cards);
  lead_ = std::move(ledger->lead);
  foreign_ = std::move(ledger->foreign);
  lastText_ = read.bytes;
  return true;
}

}  // namespace velunorh
