#include "session/session_ledger.h"

#include "base/platform.h"
#include "base/string_table.h"
#include "card/grid_texts.h"
#include "session/ledger_rules.h"

namespace velunorh {
namespace {

// Whose lines were left out, a card a line, so that the secretary knows which cards to check.
std::string SkippedText(const std::vector<SkippedLines>& skipped) {
  constexpr std::size_t kShown = 12;  // the rest are counted: the copy aside has them all
  std::string text;
  for (std::size_t i = 0; i < skipped.size() && i < kShown; ++i) {
    const SkippedLines& card = skipped[i];
    if (card.key.empty()) {
      text += "  " + LoadString(StringId::LedgerSkippedOutsideCards) + "\n";
      continue;
    }
    std::string items;
    for (int line : card.lines) {
      if (!items.empty()) items += ", ";
      items += line < 0     ? LoadString(StringId::LedgerItemHeader)
               : line < 12  ? GridMonthName(ServiceYear::RowMonth(line))
               : line == 12 ? LoadString(StringId::TotalRow)
                            : LoadString(StringId::LedgerItemOther);
    }
    text +=
        "  " +
        LoadStringWith(StringId::LedgerSkippedCard,
                       {card.name.empty() ? card.key : card.name, std::to_string(card.serviceYear),
                        std::to_string(card.serviceYear + 1), items}) +
        "\n";
  }
  if (skipped.size() > kShown)
    text += "  " +
            LoadStringWith(StringId::LedgerSkippedMore, {std::to_string(skipped.size() - kShown)}) +
            "\n";
  return text;
}

}  // namespace

void SessionLedger::Load(const std::filesystem::path& workFolder, const CalendarDate& today) {
  TellLoad(ledger_.Load(workFolder / kPrintLedgerFileName, today));
}

bool SessionLedger::LoadAgainIfUnreadable(const CalendarDate& today) {
  if (ledger_.writable()) return false;
  const PrintLedger::LoadResult loaded = ledger_.Load(ledger_.file(), today);
  // Still unreadable: the user was told at start.
  if (loaded.outcome == PrintLedger::LoadOutcome::kUnreadable) return false;
  TellLoad(loaded);
  // A save that fails from now on is news again.
  if (ledger_.writable()) problemTold_ = false;
  return ledger_.writable();
}

void SessionLedger::TellLoad(const PrintLedger::LoadResult& loaded) {
  switch (loaded.outcome) {
    case PrintLedger::LoadOutcome::kLoaded:
      return;
    case PrintLedger::LoadOutcome::kSetAside:
      prompts_.ShowMessage(
          loaded.tooLarge ? LoadStringWith(StringId::LedgerTooLarge,
                                           {std::to_string(PrintLedger::kMaxBytes >> 20),
                                            PathText(loaded.setAside)})
                          : LoadStringWith(StringId::LedgerSetAside, {PathText(loaded.setAside)}));
      return;
    case PrintLedger::LoadOutcome::kPartlyRead:
      prompts_.ShowMessage(
          LoadStringWith(StringId::LedgerLinesSkippedCards,
                         {std::to_string(loaded.skippedLines), SkippedText(loaded.skipped),
                          PathText(loaded.setAside)}));
      return;
    case PrintLedger::LoadOutcome::kUnreadable:
      // Said at start, before a print: without the history every line would look due.
      prompts_.ShowMessage(LoadStringWith(StringId::LedgerUnreadableAtStart,
                                          {PathText(ledger_.file()), loaded.error}));
      problemTold_ = true;
      return;
  }
}

const CardRecord* SessionLedger::Find(const PublisherTable& table, int slot,
                                      const CardContent& card) const {
  if (!card.hasPublisher) return nullptr;
  return ledger_.Find(LedgerServiceYear(card), LedgerPublisherKey(table, slot));
}

std::string SessionLedger::Record(const PublisherTable& table,
                                  const std::vector<PrintedPage>& pages, const CalendarDate& today,
                                  std::vector<LedgerEntry>* recorded) {
  for (const PrintedPage& page : pages) {
    LedgerEntry entry =
        ledger_.Record({LedgerPublisherKey(table, page.slot), page.card, page.page}, today);
    if (recorded && !entry.Empty()) recorded->push_back(std::move(entry));
  }
  return Save(StringId::LedgerNotSaved, StringId::LedgerSaveWaiting);
}

std::string SessionLedger::TakeBack(const std::vector<LedgerEntry>& recorded,
                                    const std::string& printer, bool* saved) {
  if (saved) *saved = true;
  // Told in the words of a damaged line's list: the card, its service year and its lines.
  std::vector<SkippedLines> taken;
  for (const LedgerEntry& entry : recorded) {
    std::vector<int> lines;
    for (int line : ledger_.TakeBack(entry)) lines.push_back(line - 1);  // -1 the header
    if (!lines.empty()) taken.push_back({entry.serviceYear, entry.key, entry.name, lines});
  }
  if (taken.empty()) return LoadStringWith(StringId::PrintCancelledNothingRecorded, {printer});
  std::string message =
      LoadStringWith(StringId::PrintCancelledTakenBack, {printer, SkippedText(taken)});
  bool kept = false;
  const std::string problem =
      Save(StringId::LedgerTakeBackNotSaved, StringId::LedgerTakeBackWaiting, &kept);
  if (saved) *saved = kept;
  // Given up while another copy held the ledger: the question said the lines stay as printed.
  if (!kept && problem.empty()) return {};
  return problem.empty() ? message : message + "\n" + problem;
}

std::string SessionLedger::Forget(const PublisherTable& table, int slot, const CardContent& card) {
  if (!card.hasPublisher) return {};
  if (!ledger_.Forget(LedgerServiceYear(card), LedgerPublisherKey(table, slot))) return {};
  return Save(StringId::LedgerRestartNotSaved, StringId::LedgerRestartWaiting);
}

std::string SessionLedger::Save(StringId failed, StringId waiting, bool* savedOut) {
  if (savedOut) *savedOut = false;
  std::string error;
  std::filesystem::path setAside;
  bool busy = false;
  bool saved = ledger_.Save(&error, &setAside, PrintLedger::kLockWait, &busy);
  if (!saved && busy) {
    // Another copy is saving: what this one did waits here unsaved, so that nobody is asked to
    // print a card twice, and is saved as soon as the lock comes free.
    const bool waited =
        prompts_.WaitToSave(LoadStringWith(waiting, {PathText(ledger_.file())}), [&] {
          saved = ledger_.Save(&error, &setAside, std::chrono::milliseconds(0), &busy);
          return saved || !busy;
        });
    if (!waited && !saved) {
      // The question said what giving up leaves: nothing of it is kept.
      ledger_.DropUnsaved();
      return {};
    }
  }
  if (saved) {
    if (savedOut) *savedOut = true;
    return setAside.empty() ? std::string()
                            : LoadStringWith(StringId::LedgerSetAsideAtSave, {PathText(setAside)});
  }
  // The previews show only what the file keeps: a print that could not be saved is not marked
  // as on the card, or it would be due again after a restart while it looked done now.
  ledger_.DropUnsaved();
  // Every failed save is told: a print or restart the user believes kept must not be lost
  // silently. Only a ledger unreadable since start (told then) stays quiet.
  if (!ledger_.writable() && problemTold_) return {};
  return LoadStringWith(failed, {ledger_.file().string(), error});
}

}  // namespace velunorh
