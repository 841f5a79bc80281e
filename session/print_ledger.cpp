#include "session/print_ledger.h"

#include <chrono>
#include <cstdio>
#include <tuple>
#include <system_error>

#include "base/atomic_file.h"
#include "base/platform.h"
#include "base/profile_file.h"
#include "base/system_reason.h"
#include "base/string_table.h"
#include "card/grid_texts.h"

namespace velunorh {
namespace {

constexpr char kSeparator = '\x1f';  // no text of a card holds it
constexpr std::string_view kHeaderKey = "Header";
constexpr std::string_view kTotalKey = "Total";
constexpr std::string_view kNameKey = "Name";

std::uint64_t Add(std::uint64_t hash, std::string_view text) {
  hash = Fnv1a64(text, hash);
  return Fnv1a64(std::string_view(&kSeparator, 1), hash);
}

std::string Hex(std::uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

std::string IsoDate(const CalendarDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

// The key of a month row: its calendar month, 1-12.
std::string MonthKey(int row) {
  char text[16];
  std::snprintf(text, sizeof text, "Month%02d", ServiceYear::RowMonth(row) + 1);
  return text;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
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

std::string StampText(const LedgerStamp& stamp) {
  return IsoDate(stamp.date) + " " + Hex(stamp.digest);
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
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", year);
  return std::string(digits) + " " + key;
}

// Which line of a card a key names: -1 the header, 12 the total, 0-11 a month row; nothing for
// a key the ledger does not know.
std::optional<int> LineOfKey(std::string_view key) {
  if (key == kHeaderKey) return -1;
  if (key == kTotalKey) return 12;
  for (int row = 0; row < 12; ++row)
    if (key == MonthKey(row)) return row;
  return std::nullopt;
}

std::optional<LedgerStamp>& Line(CardRecord& record, int line) {
  if (line < 0) return record.header;
  if (line >= 12) return record.total;
  return record.rows[line];
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

std::string HeaderLedgerText(const CardContent& card, const CardRecord* record) {
  if (!card.hasPublisher) return {};
  const HeaderLedgerView view = HeaderLedgerOf(card, record);
  return view.note.empty() ? LoadString(StringId::LedgerHeaderNotPrinted) : view.note;
}

bool DueLines::Any() const {
  for (bool row : rows)
    if (row) return true;
  return total || header;
}

bool DueGenderMarks(const DueLines& due, bool userTicked, bool editionTicks) {
  return due.header && (userTicked || editionTicks);
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

std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash) {
  for (unsigned char byte : bytes) {
    hash ^= byte;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::uint64_t RowDigest(const CardMonthRow& row) {
  std::uint64_t hash = Fnv1a64({});
  for (const std::string& cell : row.cells) hash = Add(hash, cell);
  return Add(hash, row.remark);
}

std::uint64_t TotalDigest(const CardContent& card) {
  std::uint64_t hash = Fnv1a64({});
  for (const std::string& total : card.printedTotals) hash = Add(hash, total);
  return hash;
}

std::uint64_t HeaderDigest(const CardContent& card, bool printGenderMarks) {
  // The texts in the order the header block prints them; a box mark as the box it marks.
  std::uint64_t hash = Fnv1a64({});
  hash = Add(hash, card.displayName);
  hash = Add(hash, printGenderMarks && card.sex == SexMark::kMale     ? "male"
                   : printGenderMarks && card.sex == SexMark::kFemale ? "female"
                                                                      : "");
  hash = Add(hash, card.homeAddress);
  hash = Add(hash, card.homeTelephone);
  hash = Add(hash, card.mobileTelephone);
  hash = Add(hash, card.dateOfBirth);
  hash = Add(hash, card.elder ? "elder" : "");
  hash = Add(hash, card.ministerialServant ? "servant" : "");
  hash = Add(hash, card.dateImmersed);
  hash = Add(hash, card.baptized ? SheepText(card.anointed) : "");
  return Add(hash, card.regularPioneer ? "pioneer" : "");
}

bool RowHasText(const CardMonthRow& row) {
  if (!row.remark.empty()) return true;
  for (const std::string& cell : row.cells)
    if (!cell.empty()) return true;
  return false;
}

namespace {

std::uint64_t NamesDigest(const PublisherRecord& record) {
  std::uint64_t hash = Fnv1a64({});
  hash = Add(hash, record.RawText(PublisherRecord::kFamilyName));
  hash = Add(hash, record.RawText(PublisherRecord::kGivenName));
  return Add(hash, record.RawText(PublisherRecord::kDateOfBirth));
}

// What tells twins (same names and birth date) apart without their place in the file: the date
// immersed and the record's own link to its full name.
std::uint64_t TwinDigest(const PublisherRecord& record) {
  std::uint64_t hash = Add(NamesDigest(record), record.RawText(PublisherRecord::kDateImmersed));
  return Add(hash, std::to_string(record.extensionIndex()));
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
  return "nm:" + Hex(same == 0 ? own : Add(own, std::to_string(before)));
}

int LedgerServiceYear(const CardContent& card) {
  // From the card's own year, not from the preview's heading: the calendar year of the
  // September that begins the service year the card shows.
  const ServiceYear& year = card.year;
  const bool septemberToNovember = year.reportMonth >= 8 && year.reportMonth <= 10;
  const int running = septemberToNovember ? year.currentYear : year.currentYear - 1;
  return year.previousServiceYear ? running - 1 : running;
}

std::optional<std::map<std::pair<int, std::string>, CardRecord>> PrintLedger::Parse(
    std::string_view text, int* skipped) {
  // A line out of form (a newer version's key, a hand edit) costs that line only: the other
  // cards' records stay. Only a text of which nothing at all can be read is damaged as a whole.
  int outOfForm = 0;
  std::map<std::pair<int, std::string>, CardRecord> cards;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  CardRecord* current = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      auto section = line.back() == ']' ? ParseSection(Trim(line.substr(1, line.size() - 2)))
                                        : std::nullopt;
      // The lines under a section that cannot be read, or that came before, belong to no card.
      current = section && !cards.contains(*section) ? &cards[*section] : nullptr;
      if (!current) ++outOfForm;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !current) {
      ++outOfForm;
      continue;
    }
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (key == kNameKey) {
      current->name = std::string(value);
      continue;
    }
    const auto which = LineOfKey(key);
    const auto stamp = ParseStamp(value);
    if (!which || !stamp || Line(*current, *which)) {
      ++outOfForm;
      continue;
    }
    Line(*current, *which) = *stamp;
  }
  if (skipped) *skipped = outOfForm;
  if (outOfForm > 0 && cards.empty()) return std::nullopt;
  return cards;
}

namespace {

// "<file>.damaged-YYYYMMDD", with "-2", "-3"... when that exists.
std::filesystem::path FreeDamagedName(const std::filesystem::path& file, const CalendarDate& today) {
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

}  // namespace

PrintLedger::LoadResult PrintLedger::Load(const std::filesystem::path& file,
                                          const CalendarDate& today) {
  file_ = file;
  cards_.clear();
  writable_ = true;
  LoadResult result;
  ProfileFile profile;
  if (!profile.Load(file, &result.error)) {
    writable_ = false;
    result.outcome = LoadOutcome::kUnreadable;
    return result;
  }
  int skipped = 0;
  if (auto cards = Parse(profile.Text(), &skipped)) {
    cards_ = std::move(*cards);
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
  const std::filesystem::path aside = FreeDamagedName(file, today);
  std::error_code ec;
  std::filesystem::rename(file, aside, ec);
  if (ec) {
    // Kept where it is, and never written over this run.
    writable_ = false;
    result.outcome = LoadOutcome::kUnreadable;
    result.error = ec.message();
    return result;
  }
  result.outcome = LoadOutcome::kSetAside;
  result.setAside = aside;
  return result;
}

const CardRecord* PrintLedger::Find(int serviceYear, const std::string& key) const {
  auto it = cards_.find({serviceYear, key});
  return it == cards_.end() ? nullptr : &it->second;
}

void PrintLedger::Record(const PrintedCard& printed, const CalendarDate& date) {
  const CardContent& card = *printed.card;
  if (!card.hasPublisher || printed.key.empty()) return;
  const int year = LedgerServiceYear(card);
  recorded_.insert({year, printed.key});
  forgotten_.erase({year, printed.key});
  CardRecord& record = cards_[{year, printed.key}];
  record.name = card.displayName;
  if (printed.page.header.printHeader)
    record.header = LedgerStamp{date, HeaderDigest(card, printed.page.header.printGenderMarks)};
  for (int row = 0; row < 12; ++row) {
    const CardMonthRow& line = card.rows[row];
    if (line.printable && printed.page.grid.monthRow[row] && RowHasText(line))
      record.rows[row] = LedgerStamp{date, RowDigest(line)};
  }
  if (printed.page.grid.printTotal) record.total = LedgerStamp{date, TotalDigest(card)};
  // A card that printed nothing the ledger keeps leaves no empty section behind.
  CardRecord nothing;
  nothing.name = record.name;
  if (record == nothing) cards_.erase({year, printed.key});
}

bool PrintLedger::Forget(int serviceYear, const std::string& key) {
  if (cards_.erase({serviceYear, key}) == 0) return false;
  recorded_.erase({serviceYear, key});
  forgotten_.insert({serviceYear, key});
  return true;
}

std::string PrintLedger::Text() const {
  ProfileFile profile(
      "; " + LoadString(StringId::ProgramName) +
      ": what went onto each publisher's card, one section per service year and publisher.\n");
  for (const auto& [where, record] : cards_) {
    const std::string section = SectionName(where.first, where.second);
    // A name the file cannot hold as it is stays out: it is only there for people to read.
    profile.WriteText(section, kNameKey, record.name);
    if (record.header) profile.WriteText(section, kHeaderKey, StampText(*record.header));
    for (int row = 0; row < 12; ++row)
      if (record.rows[row]) profile.WriteText(section, MonthKey(row), StampText(*record.rows[row]));
    if (record.total) profile.WriteText(section, kTotalKey, StampText(*record.total));
  }
  return profile.Text();
}

namespace {

// The newer of two stamps of one line; at the same date this run's, which is being saved now.
void KeepNewer(std::optional<LedgerStamp>& onDisk, const std::optional<LedgerStamp>& mine) {
  const auto day = [](const CalendarDate& d) { return std::tuple(d.year, d.month, d.day); };
  if (mine && (!onDisk || day(onDisk->date) <= day(mine->date))) onDisk = mine;
}

}  // namespace

bool PrintLedger::Save(std::string* error) {
  if (!writable_) {
    if (error) *error = LoadString(StringId::LedgerNotReadable);
    return false;
  }
  // One lock for every way to the file: two copies may reach a shared ledger through links.
  std::filesystem::path lockFile = FileBehindLinks(file_);
  lockFile += ".lock";
  const auto lock = FileLock::Acquire(lockFile, std::chrono::seconds(5), error);
  if (!lock) return false;
  ProfileFile disk;
  std::optional<std::map<std::pair<int, std::string>, CardRecord>> onDisk;
  if (disk.Load(file_)) onDisk = Parse(disk.Text());
  if (onDisk) {
    for (const auto& where : forgotten_) onDisk->erase(where);
    for (const auto& where : recorded_) {
      const auto mine = cards_.find(where);
      if (mine == cards_.end()) continue;
      CardRecord& merged = (*onDisk)[where];
      merged.name = mine->second.name;
      KeepNewer(merged.header, mine->second.header);
      for (int row = 0; row < 12; ++row) KeepNewer(merged.rows[row], mine->second.rows[row]);
      KeepNewer(merged.total, mine->second.total);
    }
  }
  // What another copy printed shows here too from now on.
  const auto before = cards_;
  if (onDisk) cards_ = std::move(*onDisk);
  if (!ProfileFile(Text()).Save(file_, error)) {
    cards_ = before;
    return false;
  }
  recorded_.clear();
  forgotten_.clear();
  return true;
}

}  // namespace velunorh
