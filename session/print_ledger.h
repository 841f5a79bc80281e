#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "base/today.h"
#include "card/card_content.h"
#include "card/card_ledger_view.h"
#include "card/card_page.h"
#include "companion/publisher_table.h"
#include "session/card_selection.h"

namespace velunorh {

// The program's own file in the data folder that remembers what went onto each card.
inline constexpr const char* kPrintLedgerFileName = "velunorh-ledger.ini";

// FNV-1a, 64 bits: stable across runs, builds and platforms, which std::hash is not.
std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325ULL);

// Digests of exactly the texts a card puts on paper. Texts are separated by a byte that no
// text holds, so that moving a text to the next cell changes the digest.
std::uint64_t RowDigest(const CardMonthRow& row);
std::uint64_t TotalDigest(const CardContent& card);
std::uint64_t HeaderDigest(const CardContent& card, bool printGenderMarks);

// Whether a month row puts anything on paper.
bool RowHasText(const CardMonthRow& row);

// The publisher as the ledger knows them, stable when the companion program re-sorts its table
// (the slot number is not): "id:<n>" for a publisher id of 10 or more that no other publisher
// of the table shares (ids below 10 are never used as ids); otherwise "nm:<digest>" of the raw
// family name, given name and date of birth, so that two publishers without ids stay apart.
std::string LedgerPublisherKey(const PublisherTable& table, int slot);

// The calendar year in which the card's service year begins (its September).
int LedgerServiceYear(const CardContent& card);

// When and what was printed of one line of a card.
struct LedgerStamp {
  CalendarDate date;
  std::uint64_t digest = 0;
  bool operator==(const LedgerStamp&) const = default;
};

// What one publisher's card of one service year carries.
struct CardRecord {
  std::string name;  // for people reading the file; never compared
  std::optional<LedgerStamp> header;
  std::array<std::optional<LedgerStamp>, 12> rows{};  // row 0 = September
  std::optional<LedgerStamp> total;
  bool operator==(const CardRecord&) const = default;
};

// One printed card: which publisher, its texts, and what the page printed of them.
struct PrintedCard {
  std::string key;
  const CardContent* card = nullptr;
  CardPageInput page;
};

// The print ledger. The file is a settings file, one section per service year and publisher:
//
//   [2025 id:1234]
//   Name=Kovács Anna
//   Header=2025-10-03 0f1e2d3c4b5a6978
//   Month09=2025-10-03 89ab...      (calendar month 1-12 of the row, September = 09)
//   Total=2026-09-05 ...
//
// Every value is "YYYY-MM-DD" and 16 lowercase hex digits. A line out of form (no section, key,
// comment or blank, an unknown key, a value out of form, a section twice) is left out and the
// original file is copied aside first; a file of which no card can be read is damaged: it is
// renamed aside and the ledger starts empty. Either way nothing of it is lost by writing over it.
class PrintLedger {
 public:
  enum class LoadOutcome {
    kLoaded,      // read (a missing file reads as empty)
    kSetAside,    // damaged, renamed to setAside; empty now
    kPartlyRead,  // skippedLines lines out of form left out; the original copied to setAside
    kUnreadable,  // there but not readable: empty, and never written this run
  };
  struct LoadResult {
    LoadOutcome outcome = LoadOutcome::kLoaded;
    std::filesystem::path setAside;
    int skippedLines = 0;
    std::string error;
  };

  // Reads `file`; a damaged one is renamed to "<file>.damaged-YYYYMMDD" (with "-2", "-3"... when
  // that exists).
  LoadResult Load(const std::filesystem::path& file, const CalendarDate& today);

  // Parses the text of a ledger file, leaving out each line out of form (counted in `skipped`):
  // nothing when lines were out of form and not one card could be read.
  static std::optional<std::map<std::pair<int, std::string>, CardRecord>> Parse(
      std::string_view text, int* skipped = nullptr);

  const std::filesystem::path& file() const { return file_; }
  bool writable() const { return writable_; }

  const CardRecord* Find(int serviceYear, const std::string& key) const;
  // Records what the page printed of the card: the header when it printed, each month row that
  // printed a text, and the total row when it printed.
  void Record(const PrintedCard& printed, const CalendarDate& date);
  // Forgets one card (a new card is started). False when there was nothing to forget.
  bool Forget(int serviceYear, const std::string& key);

  // The whole file as it would be saved.
  std::string Text() const;
  // Replaces the file atomically. Another running copy of the program may have saved since this
  // one read the file: under a lock beside the file, what is on disk is read again and this
  // run's records and forgettings are merged into it (per line, the newer stamp wins), so neither
  // copy erases the other's. Fails without writing when the file could not be read at start.
  bool Save(std::string* error = nullptr);

 private:
  std::filesystem::path file_;
  bool writable_ = true;
  std::map<std::pair<int, std::string>, CardRecord> cards_;
  // The cards this run recorded or forgot: only these are merged into what is on disk.
  std::set<std::pair<int, std::string>> recorded_;
  std::set<std::pair<int, std::string>> forgotten_;
};

// What the previews show of a card's record (null: nothing recorded).
MonthlyLedgerView MonthlyLedgerOf(const CardContent& card, const CardRecord* record);
HeaderLedgerView HeaderLedgerOf(const CardContent& card, const CardRecord* record);
// The same for screen readers: which months are on the card, and which changed since.
std::string MonthlyLedgerText(const CardContent& card, const MonthlyLedgerView& view);
std::string HeaderLedgerText(const CardContent& card, const CardRecord* record);

// The lines of a card that a print should put on it now: each month row whose box can be
// ticked and that prints a text not on the card yet (or changed since), the total row when its
// box can be ticked and it is not on the card as it is now, and the header when it was never
// printed or changed since.
struct DueLines;
// F/N of a print of the due lines: only with a due header, then as the user ticked it or as the
// edition ticks it. "Esedékes" and the due-only group print both take it from here.
bool DueGenderMarks(const DueLines& due, bool userTicked, bool editionTicks);

struct DueLines {
  std::array<bool, 12> rows{};
  bool total = false;
  bool header = false;
  bool Any() const;
  bool operator==(const DueLines&) const = default;
};
DueLines DueOf(const CardContent& card, const CardRecord* record, const CardSelection& boxes);

}  // namespace velunorh
