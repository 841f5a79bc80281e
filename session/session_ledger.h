#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "card/card_content.h"
#include "card/card_page.h"
#include "companion/publisher_table.h"
#include "session/print_ledger.h"
#include "session/user_prompts.h"

namespace velunorh {

// A page of a print job that completed: whose card, its texts, and what the page printed.
struct PrintedPage {
  int slot = 0;
  const CardContent* card = nullptr;
  CardPageInput page;
};

// The print ledger as a run of the program keeps it: read at start with what the user must be
// told, saved after each print or forgetting, and taken back out of memory when a save fails,
// so that the previews never mark what the file does not keep.
class SessionLedger {
 public:
  explicit SessionLedger(UserPrompts& prompts) : prompts_(prompts) {}

  // Reads the ledger of the data folder and tells the user what became of a damaged or
  // unreadable one.
  void Load(const std::filesystem::path& workFolder, const CalendarDate& today);
  // A ledger that could not be read is tried again (the user may have mended its permissions).
  // True when it can be read now.
  bool LoadAgainIfUnreadable(const CalendarDate& today);
  // What another running copy saved meanwhile (a print, a card restarted) is taken in, so that
  // what is due is told from the file as it is now. True when something was taken in.
  bool ReadAgainIfChanged() { return ledger_.ReadAgainIfChanged(); }
  // Whether the ledger could be read: without it nothing can tell what is on the cards.
  bool readable() const { return ledger_.writable(); }
  const std::filesystem::path& file() const { return ledger_.file(); }

  // The record of a card for its service year, or null.
  const CardRecord* Find(const PublisherTable& table, int slot, const CardContent& card) const;
  // Records the pages and saves. The message to show when the ledger could not be saved ("" when
  // saved, or when the user gave up waiting for another copy's lock); the print itself stands.
  // `recorded` (optional) gets what each page stamped, to take it back if the job is cancelled.
  std::string Record(const PublisherTable& table, const std::vector<PrintedPage>& pages,
                     const CalendarDate& today, std::vector<LedgerEntry>* recorded = nullptr);
  // A recorded job the print system cancelled on `printer`: what it stamped and still stands
  // is taken back and saved. The message telling which cards and lines are due again; `saved`
  // (optional) tells whether the file keeps the take-back now.
  std::string TakeBack(const std::vector<LedgerEntry>& recorded, const std::string& printer,
                       bool* saved = nullptr);
  // Forgets what a card carries this service year (a new card) and saves. When the save fails
  // the card keeps its record, and the message says the restart did not happen.
  std::string Forget(const PublisherTable& table, int slot, const CardContent& card);

 private:
  // Saves; when that fails, takes back what was not saved and gives the `failed` message. While
  // another copy holds the lock, the user is shown `waiting` until it comes free or they give up.
  // `saved` (optional) tells whether it was saved.
  std::string Save(StringId failed, StringId waiting, bool* saved = nullptr);
  void TellLoad(const PrintLedger::LoadResult& loaded);

  UserPrompts& prompts_;
  PrintLedger ledger_;
  bool problemTold_ = false;
};

}  // namespace velunorh
