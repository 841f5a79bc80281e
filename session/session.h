#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "card/card_content.h"
#include "card/card_page.h"
#include "card/header_block_pass.h"
#include "card/header_preview_pass.h"
#include "card/monthly_grid_pass.h"
#include "card/monthly_preview_pass.h"
#include "session/ledger_rules.h"
#include "session/main_state.h"
#include "session/options_values.h"
#include "session/pending_jobs.h"
#include "session/print_ledger.h"
#include "session/publisher_list.h"
#include "session/session_ledger.h"
#include "session/user_prompts.h"

namespace velunorh {

enum class SessionStatus { kRunning, kStopped };

// Which of the window's boxes beside the header preview are shown.
struct HeaderBoxes {
  bool fullName = false;
  bool lastNameFirst = true;
  bool genderMarks = false;
};

// One run of the program without its widgets: the settings, the loaded data, the layout and the
// user's choice, changed only through operations named as the user acts. The card's content is
// derived from them, built again only after a change.
class Session {
 public:
  struct Places {
    std::filesystem::path settingsFile;
    std::filesystem::path workFolder = ".";  // the layout files lie here
    std::filesystem::path floppyFolder = "/media/floppy";
  };

  Session(const Places& places, UserPrompts& prompts);

  // Date, edition, settings, data location, data, card version and layout. kStopped: the window
  // is never shown (Exit still runs, without writing the layout).
  SessionStatus StartUp(const ServiceYear& today);

  // The user's choices.
  void ChoosePublisher(int slot);
  // Another row chosen in the list: the full name is offered again, even after the user
  // unticked it. (A publisher found by typing keeps the box as it is: ChoosePublisher.)
  void ChooseFromList(int slot);
  void SetUseFullName(bool on);
  void SetLastNameFirst(bool on);
  void NextGroup();
  void SetMonthRow(int row, bool on);
  void SetPrintTotal(bool on);
  void SetPreviousServiceYear(bool on);
  void SetPrintHeader(bool on);
  void SetPrintGenderMarks(bool on);
  // What the options dialog opens with, and its OK (nothing = cancel). True when a setting
  // changed since start-up, which means the list, the title and the previews are shown again.
  OptionsValues Options() const;
  bool ApplyOptions(const std::optional<OptionsValues>& chosen);
  // Lets the user choose another data location and reloads. True when the list must be refilled.
  bool ChangeDataSource();
  // The folder of the companion's files, chosen by the user. When it holds them it is
  // remembered in the settings file for the next start and read now, as a start in it would
  // (data, print ledger, and the layout unless it was edited in this run). Gives what the user
  // is told, empty when all went well; `reloaded` says the list must be filled again.
  struct FolderChoice {
    bool reloaded = false;
    std::string message;
  };
  FolderChoice ChooseDataFolder(const std::filesystem::path& folder);
  // Another printer prints from now on in place of `before`: its own margins return, and the
  // ones in use stay with the printer they were set for. True when the margins in use changed.
  bool SwitchPrinter(const std::string& before, const std::string& printer);
  // `page` with the margins in use: a printer settled after the page was made may have brought
  // back margins of its own.
  CardPageInput WithMarginsInUse(CardPageInput page) const;
  // The printer chosen in the print setup this run: written at exit, read at the next start.
  void SetChosenPrinter(const std::string& name) { chosenPrinter_ = name; }
  const std::string& rememberedPrinter() const { return rememberedPrinter_; }
  // Releases the data and writes the settings (when changed), the layout and the printer chosen.
  ExitReport Exit();

  // What the window shows.
  const AppSettings& settings() const { return state_.settings; }
  const CardLayout& layout() const { return state_.layout; }
  const CardSelection& selection() const { return state_.selection; }
  const CongregationData& data() const { return state_.data; }
  const std::string& languageCode() const { return state_.languageCode; }
  const std::filesystem::path& settingsFile() const { return state_.settingsFile; }
  const std::filesystem::path& workFolder() const { return state_.workFolder; }
  std::filesystem::path LayoutFile(int version) const {
    return velunorh::LayoutFile(state_.workFolder, version);
  }
  const std::filesystem::path& floppyFolder() const { return state_.data.paths().floppyFolder; }
  bool settingsChanged() const { return state_.settingsChanged; }
  // The publisher file of the chosen data location, and whether it is missing there (the list
  // is then empty, and the window says which folder it read).
  std::filesystem::path PublisherFile() const { return state_.data.paths().PublisherFile(); }
  bool PublisherFileMissing() const;
  bool newForm() const { return state_.newFormFlag; }

  std::vector<PublisherListLine> PublisherLines() const;
  std::string Title() const;
  std::string GroupCaption() const;
  HeaderBoxes VisibleHeaderBoxes() const;
  // A print puts something on the card: a publisher with a name is chosen.
  bool HasPrintableCard() const { return HasPrintableName(state_.selection.selectedPublisher); }
  // Whether the chosen card's page, as the boxes stand, would put anything on paper.
  bool CardPageHasAnything() const;
  bool HasPrintableName(int slot) const;

  // The file names a print to a PDF file proposes: the chosen publisher's, the listed group's.
  std::string PrintFileNameOfCard() const;
  std::string PrintFileNameOfGroup() const;

  // The cards a group print makes: every publisher of the list, in list order, except those
  // without a name, which are counted.
  struct GroupPlan {
    std::vector<int> slots;
    int skipped = 0;
    // The card of each slot once made (by SettleGroupOverprint), so the print makes none twice.
    std::vector<CardContent> cards;
  };
  GroupPlan PlanGroupPrint() const;
  // The group print of due lines only: each card of the plan with its own due lines, and the
  // cards left out because nothing of theirs is due.
  struct DueCard {
    int slot = 0;
    CardContent card;
    CardPageInput page;
  };
  struct DueGroupPlan {
    std::vector<DueCard> cards;
    int nothingDue = 0;
  };
  DueGroupPlan PlanDueGroupPrint();
  // Before a print of every listed card as the boxes stand: when pages would print over lines
  // the ledger says are on their cards, counts those cards apart from the cards that only get
  // new lines, names them and asks. The lines to leave out of each card (by slot), none when
  // the user prints them anyway; nothing when the user cancels. Without a readable ledger,
  // nothing to leave out, unasked. The cards it makes stay in the plan.
  using LeaveOut = std::map<int, DueLines>;
  std::optional<LeaveOut> SettleGroupOverprint(GroupPlan& plan);
  // The card of another publisher of the list with the current choices.
  CardContent ContentFor(int slot);

  // What the companion program (or another copy of this one) changed in the files since they
  // were read: changed remark files are read again, a ledger that could not be read is tried
  // again, and what another copy saved in the ledger is taken in. True when the window must show
  // the card and its buttons again.
  bool RefreshFromFiles();
  // How many times the publishers were read again since the start: the window refills its list
  // when this grows.
  int publisherReadings() const { return publisherReadings_; }

  // The card of the chosen publisher, and how each picture of it is placed. Built again after
  // a change of the choice or the data (RefreshFromFiles included); reading it changes nothing.
  const CardContent& Content() const;
  CardChoice Choice() const;
  HeaderPreviewInput HeaderPreview() const;
  MonthlyPreviewInput MonthlyPreview() const;
  HeaderBlockInput HeaderBlock() const;
  MonthlyGridInput MonthlyGrid() const;
  CardPageInput CardPage() const { return {HeaderBlock(), MonthlyGrid()}; }

  // The print ledger: what went onto each card.
  //
  // The "Esedékes" button: sets every box (header, F/N, each month, the total) to exactly the
  // chosen card's due lines (DueOf), unticking what is not due. False when nothing is due.
  bool TickDue();
  // Whether the ledger could be read: without it "Esedékes" and "Csak esedékes" cannot know
  // what is on the cards, and are not offered.
  bool CanTellDue() const { return ledger_.readable(); }
  // A print job that completed: records each of its pages. Returns the message to show when the
  // ledger could not be saved, once per run ("" otherwise); the print itself stands.
  using PrintedPage = velunorh::PrintedPage;
  // `recorded` (optional) gets what the job stamped, for KeepFollowing.
  std::string RecordPrinted(const std::vector<PrintedPage>& pages,
                            std::vector<LedgerEntry>* recorded = nullptr);
  // A job the print system took on `printer` as `jobId`, recorded as `recorded` says: kept in the
  // list of jobs followed beside the ledger until it ends, so that a start after the program
  // closed follows it on. The job for the window to follow.
  PendingJob KeepFollowing(const std::string& printer, int jobId,
                           std::vector<LedgerEntry> recorded);
  // The jobs of this computer that earlier runs (or another running copy) left to follow.
  std::vector<PendingJob> KeptJobs();
  // What became of a job followed. Printed, or no longer known to the print system: its record
  // stands. Cancelled: what it stamped is taken back. Either way it is followed no more. The
  // message to show ("" for none); nothing when another copy saw the job end first.
  std::string JobEnded(const PendingJob& job, JobFate fate);
  // Before a print of the chosen card: when `page` would print over lines the ledger says are on
  // the card, names them and asks. The page to print (those lines left out, or all of it), or
  // nothing when the user cancels. Without a readable ledger, the page as it is, unasked.
  std::optional<CardPageInput> SettleOverprint(const CardContent& card, const CardPageInput& page);
  // Whether an item of the chosen card changed since it was printed (shown with "!").
  bool HasChangedItems() const;
  // "Javítva kézzel": the user corrected those items on the card by hand; the ledger records
  // them as they are now, so they show as on the card. The message to show when the ledger
  // could not be saved, else "".
  std::string ConfirmCorrectedByHand();
  // The chosen card's record for its service year, or null.
  const CardRecord* LedgerRecord() const;
  // Forgets the chosen card's record for its service year (a new card). The message to show
  // when the ledger could not be saved, else "".
  std::string ForgetCard();
  // The texts screen readers add to the previews' names.
  std::string HeaderLedgerNote() const;
  std::string MonthlyLedgerNote() const;
  const std::filesystem::path& ledgerFile() const { return ledger_.file(); }

 private:
  // The choice or the data changed: the card is built again, and the boxes follow the edition.
  void Changed();
  // Reads the files of `folder` from now on: data, layout and ledger.
  void UseWorkFolder(const std::filesystem::path& folder);
  void BuildCard();
  // The cz edition keeps F/N ticked for a publisher with a sex.
  void TickGenderMarksWhereTheEditionDoes();
  // Reads the companion program's files again when one of them changed, keeping the chosen
  // publisher by its key. True when they were read.
  bool ReloadChangedData();

  MainState state_;
  UserPrompts& prompts_;
  std::optional<CardContent> content_;
  std::string rememberedPrinter_;
  std::string chosenPrinter_;
  SessionLedger ledger_;
  // The list of jobs followed beside the ledger, and where each job kept this run is kept: a job
  // of another data folder is that folder's next start's to follow.
  std::filesystem::path JobsFile() const;
  std::map<std::pair<std::string, int>, std::filesystem::path> keptIn_;
  int publisherReadings_ = 0;
};

}  // namespace velunorh
