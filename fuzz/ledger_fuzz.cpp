// The print ledger: the input is a ledger file, and after its first NUL byte (if any) the text
// another copy or program writes over it while this one runs. What parses must save to a text
// that parses to the same cards with nothing left out; a load from the file (setting aside a
// damaged one or copying a partly read one) must leave the ledger and the folder in a state the
// next start reads, and what it keeps must survive a save. A save after the other writer's must
// keep everything the other wrote, but the lines this copy printed anew and the card it
// restarted.

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "base/whole_file.h"
#include "card/card_text.h"
#include "card/ledger_values.h"
#include "fuzz_support.h"
#include "session/print_ledger.h"

namespace velunorh::fuzz {
namespace {

constexpr CalendarDate kToday{2026, 11, 10};

// The values kept with a line: what reads as data writes back to the same data, and the text
// telling what changed is built from it whatever it holds.
std::optional<RowData> ReadBack(const RowData& data) {
  return ReadRowValues(ValuesText(data));
}
std::optional<TotalData> ReadBack(const TotalData& data) {
  return ReadTotalValues(ValuesText(data));
}
std::optional<HeaderData> ReadBack(const HeaderData& data) {
  return ReadHeaderValues(ValuesText(data));
}

template <typename Data>
void CheckValues(const std::optional<Data>& data, int item) {
  if (!data) return;
  Check(ReadBack(*data) == data);
  CardContent card;
  card.hasPublisher = true;
  card.rows[0].cells = {"1"};
  LedgerChangeText(card, item, ValuesText(*data), DataDigest(*data));
}

void CheckValuesOf(const CardRecord& record) {
  if (record.header) CheckValues(ReadHeaderValues(record.header->values), 0);
  for (const auto& row : record.rows)
    if (row) CheckValues(ReadRowValues(row->values), 1);
  if (record.total) CheckValues(ReadTotalValues(record.total->values), kLedgerItems - 1);
}

void CheckRoundTrip(std::string_view text) {
  // Kept whole, as a save keeps another writer's text: written back, it reads the same.
  const auto whole = PrintLedger::Read(text, true);
  Check(whole.has_value());
  const std::string rewritten = PrintLedger::TextOf(*whole);
  const auto wholeAgain = PrintLedger::Read(rewritten, true);
  Check(wholeAgain.has_value() && *wholeAgain == *whole);
  Check(PrintLedger::TextOf(*wholeAgain) == rewritten);
  int skipped = -1;
  const auto cards = PrintLedger::Read(text, false, &skipped);
  Check(skipped >= 0);
  if (!cards) {
    Check(skipped > 0);  // only damaged lines make a text damaged
    return;
  }
  const std::string saved = PrintLedger::TextOf(*cards);
  int skippedAgain = -1;
  const auto again = PrintLedger::Read(saved, false, &skippedAgain);
  Check(again.has_value());
  Check(skippedAgain == 0);
  Check(*again == *cards);
  Check(PrintLedger::TextOf(*again) == saved);
  for (const auto& [where, record] : cards->cards) CheckValuesOf(record);
}

void CheckLoadAndSave(std::string_view text) {
  const auto& folder = ScratchFolder();
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
    std::filesystem::remove_all(entry.path(), ignored);
  const auto file = folder / kPrintLedgerFileName;
  PutFile(file, text);

  PrintLedger ledger;
  const PrintLedger::LoadResult loaded = ledger.Load(file, kToday);
  const auto cards = PrintLedger::Read(text, false);
  switch (loaded.outcome) {
    case PrintLedger::LoadOutcome::kLoaded:
      Check(cards.has_value() && loaded.skippedLines == 0);
      break;
    case PrintLedger::LoadOutcome::kPartlyRead:
      // The original is kept aside byte for byte before anything is written over it.
      Check(cards.has_value() && loaded.skippedLines > 0);
      Check(ReadFileUpTo(loaded.setAside, PrintLedger::kMaxBytes).bytes == text);
      break;
    case PrintLedger::LoadOutcome::kSetAside:
      Check(!cards.has_value() || loaded.tooLarge);
      Check(!std::filesystem::exists(file));
      Check(ReadFileUpTo(loaded.setAside, PrintLedger::kMaxBytes + 1).bytes == text);
      break;
    case PrintLedger::LoadOutcome::kUnreadable:
      Check(false);  // a plain file in a folder of this process's own is always readable
  }
  Check(ledger.writable());
  Check(ledger.Save());
  // What the next start reads is what this one kept.
  PrintLedger next;
  Check(next.Load(file, kToday).outcome == PrintLedger::LoadOutcome::kLoaded);
  Check(next.Text() == ledger.Text());
  if (cards) Check(ledger.Text() == PrintLedger::TextOf(*cards));
}

// This copy restarts its first card and prints a card of its own, then saves over what the other
// writer left.
void CheckSaveAfterAnotherWriter(std::string_view mine, std::string_view theirs) {
  const auto& folder = ScratchFolder();
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
    std::filesystem::remove_all(entry.path(), ignored);
  const auto file = folder / kPrintLedgerFileName;
  PutFile(file, mine);
  PrintLedger ledger;
  ledger.Load(file, kToday);
  std::optional<std::pair<int, std::string>> restarted;
  if (const auto first = PrintLedger::Read(ledger.Text(), false); first && !first->cards.empty()) {
    restarted = first->cards.begin()->first;
    Check(ledger.Forget(restarted->first, restarted->second));
  }
  CardContent card;
  card.hasPublisher = true;
  card.displayName = "Kovács Anna";
  card.year = ServiceYear::FromDate(2026, 11);
  for (int row = 0; row < 12; ++row) {
    card.rows[row].month = ServiceYear::RowMonth(row);
    card.rows[row].printable = row < 2;
    card.rows[row].cells = {"1", "", "", "", ""};
  }
  CardPageInput page;
  page.grid.monthRow[1] = true;
  page.header.printHeader = true;
  const std::pair<int, std::string> printed{2026, "id:11"};
  ledger.Record({printed.second, &card, page}, kToday);

  PutFile(file, theirs);
  Check(ledger.Save());
  // The very bytes this copy read: no other writer to tell apart, and the damage it left out at
  // start is in the copy aside.
  if (theirs == mine) return;
  const std::string saved = ReadFileUpTo(file, PrintLedger::kMaxBytes).bytes;
  const auto before = PrintLedger::Read(theirs, true);
  const auto after = PrintLedger::Read(saved, true);
  Check(before.has_value() && after.has_value());
  // Every line of the other's this version does not read is in the file as it was.
  std::map<std::string_view, int> lines;
  for (std::string_view rest = saved; !rest.empty();) {
    const std::string_view line = rest.substr(0, rest.find('\n'));
    ++lines[line];
    rest.remove_prefix(std::min(rest.size(), line.size() + 1));
  }
  const auto kept = [&](const std::vector<std::string>& theirLines) {
    for (const std::string& line : theirLines) Check(lines[line]-- > 0);
  };
  kept(before->lead);
  kept(before->foreign);
  for (const auto& [where, record] : before->cards) {
    if (where == restarted) continue;
    kept(record.kept);
    const auto now = after->cards.find(where);
    Check(now != after->cards.end());
    // The lines printed here win only where they are as new as the other's.
    const bool printedHere = where == printed;
    const auto newer = [printedHere](const std::optional<LedgerStamp>& mine,
                                     const std::optional<LedgerStamp>& was) {
      if (!printedHere) return mine == was;
      const auto day = [](const CalendarDate& d) { return std::tuple(d.year, d.month, d.day); };
      return !was || (mine && day(mine->date) >= day(was->date));
    };
    Check(newer(now->second.header, record.header) && newer(now->second.total, record.total));
    for (int row = 0; row < 12; ++row) Check(newer(now->second.rows[row], record.rows[row]));
  }
  // The card restarted here is gone but for what was printed on the new one.
  for (const auto& [where, record] : after->cards)
    Check(where == printed || (where != restarted && before->cards.contains(where)));
}

}  // namespace
}  // namespace velunorh::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const std::size_t cut = input.find('\0');
  const std::string_view text = input.substr(0, cut);
  velunorh::fuzz::CheckRoundTrip(text);
  velunorh::fuzz::CheckLoadAndSave(text);
  if (cut != std::string_view::npos)
    velunorh::fuzz::CheckSaveAfterAnotherWriter(text, input.substr(cut + 1));
  return 0;
}
