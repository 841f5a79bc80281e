// The print ledger: the whole input is a ledger file. What parses must save to a text that
// parses to the same cards with nothing left out; a load from the file (setting aside a damaged
// one or copying a partly read one) must leave the ledger and the folder in a state the next
// start reads, and what it keeps must survive a save.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/whole_file.h"
#include "fuzz_support.h"
#include "session/print_ledger.h"

namespace velunorh::fuzz {
namespace {

constexpr CalendarDate kToday{2026, 11, 10};

void CheckRoundTrip(std::string_view text) {
  int skipped = -1;
  const auto cards = PrintLedger::Parse(text, &skipped);
  Check(skipped >= 0);
  if (!cards) {
    Check(skipped > 0);  // only lines out of form make a text damaged
    return;
  }
  const std::string saved = PrintLedger::TextOf(*cards);
  int skippedAgain = -1;
  const auto again = PrintLedger::Parse(saved, &skippedAgain);
  Check(again.has_value());
  Check(skippedAgain == 0);
  Check(*again == *cards);
  Check(PrintLedger::TextOf(*again) == saved);
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
  const auto cards = PrintLedger::Parse(text);
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

}  // namespace
}  // namespace velunorh::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  velunorh::fuzz::CheckRoundTrip(text);
  velunorh::fuzz::CheckLoadAndSave(text);
  return 0;
}
