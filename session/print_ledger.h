#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/today.h"
#include "base/whole_file.h"
#include "card/card_content.h"
#include "card/card_page.h"

namespace velunorh {

// The program's own file in the data folder that remembers what went onto each card.
inline constexpr const char* kPrintLedgerFileName = "velunorh-ledger.ini";

// When and what was printed of one line of a card.
struct LedgerStamp {
  CalendarDate date;
  std::uint64_t digest = 0;
  // The data the line was printed from (card/ledger_values.h), to tell later what changed; ""
  // in the lines of ledgers written before it was kept. Never compared to tell a change: the
  // digest does that.
  std::string values = {};
  bool operator==(const LedgerStamp&) const = default;
  // The same print of the line, whatever values either one carries.
  bool SamePrint(const LedgerStamp& other) const {
    return date == other.date && digest == other.digest;
  }
};

// What one publisher's card of one service year carries.
struct CardRecord {
  std::string name;  // for people reading the file; never compared
  std::optional<LedgerStamp> header;
  std::array<std::optional<LedgerStamp>, 12> rows{};  // row 0 = September
  std::optional<LedgerStamp> total;
  // Lines of the card's section this version does not read (a newer version's keys, notes),
  // written back after its own lines as they were.
  std::vector<std::string> kept;
  bool operator==(const CardRecord&) const = default;
};

// The cards of a ledger by service year (the calendar year of its September) and publisher key.
using LedgerCards = std::map<std::pair<int, std::string>, CardRecord>;

// A ledger file as read: the cards, and what else the file holds that this version does not
// read, kept to be written back as it was.
struct LedgerFile {
  LedgerCards cards;
  std::vector<std::string> lead;     // lines before the first section (notes), but the heading
  std::vector<std::string> foreign;  // sections not of a card, whole, in the file's order
  bool operator==(const LedgerFile&) const = default;
};

// Lines of one card that could not be read: which card, and which of its lines (-1 the header,
// 0-11 the month rows, 12 the total, 13 any other line). A line outside every card has an
// empty key.
struct SkippedLines {
  int serviceYear = 0;
  std::string key;
  std::string name;  // as the file names the card; may be empty
  std::vector<int> lines;
};

// The calendar year in which the card's service year begins (its September): the year of the
// card's section in the file.
int LedgerServiceYear(const CardContent& card);

// One printed card: which publisher, its texts, and what the page printed of them.
struct PrintedCard {
  std::string key;
  const CardContent* card = nullptr;
  CardPageInput page;
};

// What one print stamped on one card, kept while its job may still be cancelled: then the
// lines go back to what they carried before. Lines: 0 the header, 1-12 the month rows, 13 the
// total.
struct LedgerEntry {
  int serviceYear = 0;
  std::string key;
  std::string name;
  std::array<std::optional<LedgerStamp>, 14> stamped{};  // what the print wrote; empty: untouched
  std::array<std::optional<LedgerStamp>, 14> before{};
  bool Empty() const;
  bool operator==(const LedgerEntry&) const = default;
};

// The words the ledger file names a card and a line's stamp with, shared with the file of the
// jobs still followed, which names the same cards and lines.
std::string LedgerCardName(int serviceYear, const std::string& key);  // "2025 id:1234"
std::optional<std::pair<int, std::string>> ParseLedgerCardName(std::string_view name);
std::string LedgerStampText(const LedgerStamp& stamp);  // "2025-10-03 0f1e2d3c4b5a6978"
std::optional<LedgerStamp> ParseLedgerStamp(std::string_view text);
// A card's name as the ledger's files keep it: a name with a line break inside would not read
// back as one line, so it is kept empty (names are only for people reading the file).
std::string LedgerNameToKeep(std::string_view name);
// The key of a line by its place in LedgerEntry (0 the header, 1-12 the month rows, 13 the
// total), and the place a key names (nothing for a key the ledger does not know).
std::string LedgerLineKey(int index);
std::optional<int> LedgerLineOfKey(std::string_view key);
// Where a damaged file is kept aside: "<file>.damaged-YYYYMMDD", with "-2", "-3"... when that
// exists.
std::filesystem::path FreeDamagedName(const std::filesystem::path& file, const CalendarDate& today);
// A file found too large to read, renamed aside whole before it is written anew. False, with
// `error` the read's reason, when it cannot be moved: it is then not to be written over.
bool SetTooLargeFileAside(const std::filesystem::path& file, const CalendarDate& today,
                          const WholeFile& read, std::string* error,
                          std::filesystem::path* setAside);

// The print ledger. The file is a settings file, one section per service year and publisher,
// read and written by the settings-file reader and writer:
//
//   [2025 id:1234]
//   Name=Kovács Anna
//   Header=2025-10-03 0f1e2d3c4b5a6978
//   HeaderData=Kovács|Anna||female|Fő utca 1.|...
//   Month09=2025-10-03 89ab...      (calendar month 1-12 of the row, September = 09)
//   Month09Data=- - 12 - 3 1 / - - 12 3 1 /
//   Total=2026-09-05 ...
//   TotalData=...
//
// A line's value is "YYYY-MM-DD" and 16 lowercase hex digits; its "Data" key, which ledgers
// written before do not have, what it was printed from (card/ledger_values.h), in quotes when it
// starts or ends in a blank. A "Data" key repeated or without its line is left out. What this
// version does not know (a key of another name, a section that is not a card's, a note) is kept and
// written back as it was. A damaged line (neither section, key, note nor blank; a key outside every
// section; a card's key with a value out of form; a card or its key twice) is left out at start and
// the original file copied aside first; a file of which no card can be read but lines are damaged,
// or one far larger than years of cards make, is damaged: it is renamed aside and the ledger
// starts empty. Either way nothing of it is lost by writing over it.
class PrintLedger {
 public:
  // About 1,300 bytes a full year's card with what it was printed from: some 25,800 cards, a
  // congregation of 150 publishers for 170 years.
  static constexpr std::size_t kMaxBytes = 32 * 1024 * 1024;

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
    std::vector<SkippedLines> skipped;  // whose lines were left out, in the file's order
    bool tooLarge = false;              // kSetAside for its size alone
    std::string error;
  };

  // Reads `file`; a damaged one is renamed to "<file>.damaged-YYYYMMDD" (with "-2", "-3"... when
  // that exists).
  LoadResult Load(const std::filesystem::path& file, const CalendarDate& today);

  // The cards of a ledger file's text, leaving out each damaged line (counted in `skipped`):
  // nothing when lines were damaged and not one card could be read.
  static std::optional<LedgerCards> Parse(std::string_view text, int* skipped = nullptr);
  // The same, with what the file holds besides the cards. With `keepDamaged` a damaged line is
  // kept as it was too (with its card, or before or after the cards), and a text is never
  // damaged as a whole: what another program wrote while this one runs is not this one's to
  // leave out.
  static std::optional<LedgerFile> Read(std::string_view text, bool keepDamaged,
                                        int* skipped = nullptr,
                                        std::vector<SkippedLines>* which = nullptr);

  const std::filesystem::path& file() const { return file_; }
  bool writable() const { return writable_; }

  const CardRecord* Find(int serviceYear, const std::string& key) const;
  // Records what the page printed of the card: the header when it printed, each month row that
  // printed a text, and the total row when it printed. Returns what it stamped.
  LedgerEntry Record(const PrintedCard& printed, const CalendarDate& date);
  // A print that never reached the card: each line it stamped that still carries that stamp
  // returns to what it carried before. The lines taken back (as in LedgerEntry).
  std::vector<int> TakeBack(const LedgerEntry& entry);
  // Forgets one card (a new card is started). False when there was nothing to forget.
  bool Forget(int serviceYear, const std::string& key);
  // Takes back what Record and Forget changed since the last save that succeeded: what the file
  // does not keep must not show as on the card. Costs only the cards they touched.
  void DropUnsaved();

  // The whole file as it would be saved, written in one pass.
  std::string Text() const;
  static std::string TextOf(const LedgerCards& cards);
  static std::string TextOf(const LedgerFile& file);
  // Replaces the file atomically. Another running copy of the program may have saved since this
  // one read the file: under a lock beside the file, what is on disk is read again and this
  // run's records and forgettings are merged into it (per line this copy printed, the newer
  // stamp wins), so neither copy erases the other's and a card restarted by the other copy
  // stays restarted. Fails without writing when the file could not be read at start,
  // when the user made it read-only, and when the text would be larger than the reader takes. What
  // is on disk and cannot be read (far too large) is renamed aside as at start and named in
  // `setAside`. Waits up to `lockWait` for another copy's lock; `busy` tells that it was held
  // still, when what was not saved stays here for the next save to try again. Another copy holds
  // the lock for a read and a write of this small file: a longer wait goes on without freezing
  // the window (SessionLedger asks the user to wait).
  static constexpr std::chrono::milliseconds kLockWait{1000};
  bool Save(std::string* error = nullptr, std::filesystem::path* setAside = nullptr,
            std::chrono::milliseconds lockWait = kLockWait, bool* busy = nullptr);
  // Takes in what another running copy saved since this one last read or wrote the file, when
  // it reads without damage (damage is the next start's to tell). Looks at the file's size and
  // time first, so it is cheap to call often. True when something was taken in.
  bool ReadAgainIfChanged();

 private:
  std::filesystem::path file_;
  bool writable_ = true;
  LedgerCards cards_;
  std::vector<std::string> lead_, foreign_;  // see LedgerFile
  // The file as this copy last read or wrote it: found unchanged at a save, no other copy wrote
  // it since, and the cards held here are the merge without reading them again.
  std::string lastText_;
  // The file's size and time when this copy last read or wrote it.
  using Seen = std::pair<std::uintmax_t, std::filesystem::file_time_type>;
  std::optional<Seen> seen_;
  std::optional<Seen> SeenNow() const;
  // Each card Record or Forget touched since the last save: only these are merged into what is
  // on disk, and a failed save takes them back to how they were.
  struct Unsaved {
    std::optional<CardRecord> before;
    // Forget was called: what another copy saved of the card goes too (the card was restarted).
    bool restarted = false;
    // The lines Record stamped since (0 the header, 1-12 the month rows, 13 the total): only
    // these are this copy's news; the rest it merely read earlier, perhaps before a restart.
    std::array<bool, 14> recorded{};
    // The stamps TakeBack removed: a line on disk that still carries one returns to this copy's.
    std::array<std::optional<LedgerStamp>, 14> takenBack{};
  };
  std::map<std::pair<int, std::string>, Unsaved> unsaved_;
  Unsaved& Touch(const std::pair<int, std::string>& where);
};

}  // namespace velunorh
