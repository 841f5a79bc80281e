#include "session/session.h"

#include <algorithm>

#include "base/atomic_file.h"
#include "base/edition.h"
#include "base/platform.h"
#include "base/string_table.h"
#include "base/today.h"
#include "card/card_text.h"
#include "companion/name_date_format.h"
#include "session/change_data_source.h"
#include "session/data_folder.h"
#include "session/print_file_name.h"
#include "session/remembered_printer.h"

namespace velunorh {

Session::Session(const Places& places, UserPrompts& prompts) : prompts_(prompts), ledger_(prompts) {
  state_.settingsFile = places.settingsFile;
  state_.workFolder = places.workFolder;
  state_.data.paths().floppyFolder = places.floppyFolder;
  state_.currentDrive = CurrentDriveNumber(places.workFolder, places.floppyFolder);
}

SessionStatus Session::StartUp(const ServiceYear& today) {
  UseWorkFolder(
      DataFolderAtStart(state_.workFolder, ReadRememberedDataFolder(state_.settingsFile)));
  RemoveStaleTemporaries(FilesThisProgramWrites(state_));
  ReadStateAtStart(state_, today, prompts_);
  rememberedPrinter_ = ReadRememberedPrinter(state_.settingsFile);
  // Margins kept for another printer than the one this run starts with give way to its own.
  AppSettings& settings = state_.settings;
  if (!state_.stopRequested && !settings.printerMargins.inUse.empty() &&
      SwitchPrinterMargins(settings.printerMargins, settings.leftMargin, settings.topMargin, "",
                           rememberedPrinter_))
    state_.settingsChanged = true;
  if (!state_.stopRequested) ledger_.Load(state_.workFolder, Today());
  Changed();
  return state_.stopRequested ? SessionStatus::kStopped : SessionStatus::kRunning;
}

void Session::ChoosePublisher(int slot) {
  state_.selection.selectedPublisher = slot;
  Changed();
}

void Session::ChooseFromList(int slot) {
  state_.selection.useFullName = true;
  ChoosePublisher(slot);
}

void Session::SetUseFullName(bool on) {
  state_.selection.useFullName = on;
  Changed();
}

void Session::SetLastNameFirst(bool on) {
  state_.settings.lastNameFirst = on;
  state_.settingsChanged = true;
  Changed();
}

void Session::NextGroup() {
  state_.selection.publisherGroup = (state_.selection.publisherGroup + 1) % kPublisherGroups;
}

void Session::SetMonthRow(int row, bool on) {
  if (row < 0 || row >= 12) return;
  state_.selection.monthRow[row] = on;
  MonthBoxClicked(state_.selection);
}

void Session::SetPrintTotal(bool on) {
  state_.selection.printTotal = on;
  MonthBoxClicked(state_.selection);
}

void Session::SetPreviousServiceYear(bool on) {
  state_.selection.year.previousServiceYear = on;
  UpdateMonthBoxes(state_.selection, state_.data);
  Changed();
}

void Session::SetPrintHeader(bool on) {
  PrintHeaderClicked(state_.selection, on);
  TickGenderMarksWhereTheEditionDoes();
}

void Session::SetPrintGenderMarks(bool on) {
  state_.selection.printGenderMarks = on;
  TickGenderMarksWhereTheEditionDoes();
}

OptionsValues Session::Options() const {
  const AppSettings& settings = state_.settings;
  return {settings.dateFormat, settings.cardVersion, settings.topMargin,
          settings.leftMargin, state_.layout,        settings.printerMargins};
}

bool Session::ApplyOptions(const std::optional<OptionsValues>& chosen) {
  if (chosen) {
    if (!(chosen->layout == state_.layout)) state_.layoutChanged = true;
    if (!(*chosen == Options())) state_.settingsChanged = true;
    AppSettings& settings = state_.settings;
    settings.dateFormat = chosen->dateFormat;
    settings.cardVersion = chosen->cardVersion;
    settings.topMargin = chosen->topMargin;
    settings.leftMargin = chosen->leftMargin;
    settings.printerMargins = chosen->printerMargins;
    state_.layout = chosen->layout;
    if (IsPortuguese(state_.languageCode) && state_.settingsChanged)
      SortPublishers(state_.data.current, settings.firstNameSort);
  }
  if (state_.settingsChanged) state_.newFormFlag = IsNewForm(state_.settings.cardVersion);
  Changed();
  return state_.settingsChanged;
}

bool Session::SwitchPrinter(const std::string& before, const std::string& printer) {
  AppSettings& settings = state_.settings;
  const std::string left = settings.leftMargin, top = settings.topMargin;
  if (!SwitchPrinterMargins(settings.printerMargins, settings.leftMargin, settings.topMargin,
                            before, printer))
    return false;
  state_.settingsChanged = true;
  Changed();
  return settings.leftMargin != left || settings.topMargin != top;
}

CardPageInput Session::WithMarginsInUse(CardPageInput page) const {
  page.header.leftMargin = page.grid.leftMargin = state_.settings.leftMargin;
  page.header.topMargin = page.grid.topMargin = state_.settings.topMargin;
  return page;
}

bool Session::ChangeDataSource() {
  const bool refill = SwitchDataLocation(state_, prompts_);
  Changed();
  return refill;
}

void Session::UseWorkFolder(const std::filesystem::path& folder) {
  state_.workFolder = folder;
  state_.currentDrive = CurrentDriveNumber(folder, state_.data.paths().floppyFolder);
  state_.data.paths().folder = folder;
  state_.data.paths().currentDrive = state_.currentDrive;
}

Session::FolderChoice Session::ChooseDataFolder(const std::filesystem::path& folder) {
  FolderChoice choice;
  if (!HoldsCompanionData(folder)) {
    choice.message = LoadStringWith(StringId::DataFolderWithoutData, {PathText(folder)});
    return choice;
  }
  const std::filesystem::path previous = state_.workFolder;
  UseWorkFolder(folder);
  state_.stopRequested = false;
  state_.data.LoadAllData(state_.stopRequested, [this](const PublisherRecord& header) {
    return prompts_.CheckPassword(header);
  });
  if (state_.stopRequested) {
    // The password was not given: the folder read before is read again, and nothing is kept.
    UseWorkFolder(previous);
    state_.stopRequested = false;
    state_.data.LoadAllData(state_.stopRequested);
    Changed();
    return choice;
  }
  choice.reloaded = true;
  if (IsPortuguese(state_.languageCode) && state_.data.current.count >= 1)
    SortPublishers(state_.data.current, state_.settings.firstNameSort);
  UpdateMonthBoxes(state_.selection, state_.data);
  if (!state_.layoutChanged) LoadLayoutOfWorkFolder(state_);
  ledger_.Load(state_.workFolder, Today());
  std::string error;
  if (!WriteRememberedDataFolder(state_.settingsFile, folder, &error))
    choice.message = LoadStringWith(StringId::DataFolderNotRemembered, {error});
  Changed();
  return choice;
}

ExitReport Session::Exit() {
  content_.reset();
  ExitReport report = WriteStateAtExit(state_);
  // The printer lives in the settings file: when the settings could not be kept, it cannot be
  // either, and the user hears of the file once.
  if (!chosenPrinter_.empty() && report.settingsWritten)
    report.printerWritten =
        WriteRememberedPrinter(state_.settingsFile, chosenPrinter_, &report.printerError);
  return report;
}

std::vector<PublisherListLine> Session::PublisherLines() const {
  return BuildPublisherList(state_.data.current, state_.selection.publisherGroup,
                            state_.selection.year.reportMonth, state_.settings.firstNameSort);
}

std::string Session::Title() const {
  return LoadString(StringId::ProgramName) + " - " + CardVersionName(state_.settings.cardVersion);
}

std::string Session::GroupCaption() const {
  return PublisherGroupCaption(state_.selection.publisherGroup);
}

HeaderBoxes Session::VisibleHeaderBoxes() const {
  const CardContent& card = Content();
  HeaderBoxes boxes;
  boxes.fullName = card.hasFullName;
  boxes.lastNameFirst = !(card.hasFullName && state_.selection.useFullName);
  boxes.genderMarks = card.sex != SexMark::kNone;
  return boxes;
}

bool Session::PublisherFileMissing() const {
  std::error_code error;
  return !std::filesystem::exists(PublisherFile(), error);
}

bool Session::HasPrintableName(int slot) const {
  std::string name = FormatName(state_.data.current, slot, state_.settings.lastNameFirst);
  TrimLeft(name);
  TrimRight(name);
  return !name.empty();
}

std::string Session::PrintFileNameOfCard() const {
  return PrintFileName(FormatName(state_.data.current, state_.selection.selectedPublisher, true));
}

std::string Session::PrintFileNameOfGroup() const {
  return PrintFileName(GroupCaption());
}

Session::GroupPlan Session::PlanGroupPrint() const {
  GroupPlan plan;
  for (const PublisherListLine& line : PublisherLines()) {
    if (HasPrintableName(line.slot))
      plan.slots.push_back(line.slot);
    else
      ++plan.skipped;
  }
  return plan;
}

CardContent Session::ContentFor(int slot) {
  if (state_.data.RefreshRemarksIfChanged()) BuildCard();
  CardChoice choice = Choice();
  choice.slot = slot;
  return BuildCardContent(state_.data, choice);
}

void Session::Changed() {
  // A remark file the companion program wrote meanwhile is read before the card is built.
  state_.data.RefreshRemarksIfChanged();
  BuildCard();
}

void Session::BuildCard() {
  content_ = BuildCardContent(state_.data, Choice());
  TickGenderMarksWhereTheEditionDoes();
}

bool Session::ReloadChangedData() {
  if (!state_.data.CompanionFilesChanged()) return false;
  // A publisher file being replaced may be missing or short for a moment: the figures read
  // stay until a whole one is there again.
  if (!HoldsPublisherData(PublisherFile())) return false;
  const std::string chosen =
      LedgerPublisherKey(state_.data.current, state_.selection.selectedPublisher);
  // The same data location, its password accepted at the start.
  bool refused = false;
  state_.data.LoadAllData(refused);
  if (IsPortuguese(state_.languageCode) && state_.data.current.count >= 1)
    SortPublishers(state_.data.current, state_.settings.firstNameSort);
  // The file may have gained or lost publishers before the chosen one: its slot moves.
  int slot = 0;
  for (int other = 1; other < state_.data.current.count && slot == 0 && !chosen.empty(); ++other)
    if (LedgerPublisherKey(state_.data.current, other) == chosen) slot = other;
  state_.selection.selectedPublisher = slot;
  UpdateMonthBoxes(state_.selection, state_.data);
  ++publisherReadings_;
  return true;
}

bool Session::RefreshFromFiles() {
  const bool data = ReloadChangedData();
  // A reload has read the remark files too.
  const bool remarks = data || state_.data.RefreshRemarksIfChanged();
  if (remarks) BuildCard();
  const bool ledger = ledger_.LoadAgainIfUnreadable(Today()) || ledger_.ReadAgainIfChanged();
  return remarks || ledger;
}

const CardContent& Session::Content() const {
  static const CardContent kNoCard;
  return content_ ? *content_ : kNoCard;
}

void Session::TickGenderMarksWhereTheEditionDoes() {
  if (content_ && EditionTicksGenderMarks(state_.languageCode, *content_))
    state_.selection.printGenderMarks = true;
}

CardChoice Session::Choice() const {
  const CardSelection& selection = state_.selection;
  CardChoice choice;
  choice.slot = selection.selectedPublisher;
  choice.year = selection.year;
  choice.useFullName = selection.useFullName;
  choice.lastNameFirst = state_.settings.lastNameFirst;
  choice.dateFormat = state_.settings.dateFormat;
  choice.languageCode = state_.languageCode;
  choice.newForm = state_.newFormFlag;
  return choice;
}

HeaderPreviewInput Session::HeaderPreview() const {
  HeaderPreviewInput input;
  input.languageCode = state_.languageCode;
  input.fontCharset = state_.fontCharset;
  input.nameShift = LoadStringInt(StringId::NameShift);
  input.cardVersion = state_.settings.cardVersion;
  input.printHeader = state_.selection.printHeader;
  input.printGenderMarks = state_.selection.printGenderMarks;
  input.ledger = HeaderLedgerOf(Content(), LedgerRecord());
  return input;
}

MonthlyPreviewInput Session::MonthlyPreview() const {
  MonthlyPreviewInput input;
  input.monthRow = state_.selection.monthRow;
  input.printTotal = state_.selection.printTotal;
  input.languageCode = state_.languageCode;
  input.ledger = MonthlyLedgerOf(Content(), LedgerRecord());
  return input;
}

HeaderBlockInput Session::HeaderBlock() const {
  HeaderBlockInput input;
  input.printHeader = state_.selection.printHeader;
  input.printGenderMarks = state_.selection.printGenderMarks;
  input.leftMargin = state_.settings.leftMargin;
  input.topMargin = state_.settings.topMargin;
  input.layout = state_.layout;
  return input;
}

MonthlyGridInput Session::MonthlyGrid() const {
  MonthlyGridInput input;
  input.monthRow = state_.selection.monthRow;
  input.printTotal = state_.selection.printTotal;
  input.fontCharset = state_.fontCharset;
  input.leftMargin = state_.settings.leftMargin;
  input.topMargin = state_.settings.topMargin;
  input.layout = state_.layout;
  return input;
}

const CardRecord* Session::LedgerRecord() const {
  return ledger_.Find(state_.data.current, state_.selection.selectedPublisher, Content());
}

bool Session::TickDue() {
  const DueLines due = DueOf(Content(), LedgerRecord(), state_.selection);
  // Every box becomes exactly what is due: a box ticked before, or ticked at start, whose line
  // is already on the card would print over itself.
  CardSelection& boxes = state_.selection;
  boxes.monthRow = due.rows;
  boxes.printTotal = due.total;
  const bool userMarks = boxes.printGenderMarks;
  boxes.printHeader = due.header;
  boxes.genderMarksEnabled = due.header;
  boxes.printGenderMarks =
      DueGenderMarks(due, userMarks, EditionTicksGenderMarks(state_.languageCode, Content()));
  return due.Any();
}

bool Session::CardPageHasAnything() const {
  return HasPrintableCard() && CardPagePlacesAnything(Content(), CardPage());
}

Session::DueGroupPlan Session::PlanDueGroupPrint() {
  DueGroupPlan plan;
  const CardPageInput current = CardPage();
  for (int slot : PlanGroupPrint().slots) {
    DueCard due{slot, ContentFor(slot), current};
    const DueLines lines =
        DueOf(due.card, ledger_.Find(state_.data.current, slot, due.card), state_.selection);
    if (!lines.Any()) {
      ++plan.nothingDue;
      continue;
    }
    due.page.grid.monthRow = lines.rows;
    due.page.grid.printTotal = lines.total;
    due.page.header.printHeader = lines.header;
    due.page.header.printGenderMarks =
        DueGenderMarks(lines, current.header.printGenderMarks,
                       EditionTicksGenderMarks(state_.languageCode, due.card));
    plan.cards.push_back(std::move(due));
  }
  return plan;
}

std::optional<CardPageInput> Session::SettleOverprint(const CardContent& card,
                                                      const CardPageInput& page) {
  if (!ledger_.readable()) return page;
  const CardRecord* record =
      ledger_.Find(state_.data.current, state_.selection.selectedPublisher, card);
  const DueLines over = OverprintOf(card, record, page);
  if (!over.Any()) return page;
  const std::string question = LoadStringWith(StringId::OverprintQuestion,
                                              {card.displayName, LineNames(card, record, over)});
  switch (prompts_.AskOverprint(question)) {
    case OverprintAnswer::kPrintAnyway:
      return page;
    case OverprintAnswer::kCancel:
      return std::nullopt;
    case OverprintAnswer::kLeaveOut:
      break;
  }
  return WithoutOverprint(page, over);
}

std::optional<Session::LeaveOut> Session::SettleGroupOverprint(GroupPlan& plan) {
  LeaveOut over;
  if (!ledger_.readable()) return over;
  // The question names this many cards; a congregation's worth would not fit on the screen.
  constexpr std::size_t kNamed = 8;
  const CardPageInput page = CardPage();
  int fresh = 0;
  std::string names;
  plan.cards.clear();
  plan.cards.reserve(plan.slots.size());
  for (int slot : plan.slots) {
    const CardContent& card = plan.cards.emplace_back(ContentFor(slot));
    if (!CardPagePlacesAnything(card, page)) continue;
    const CardRecord* record = ledger_.Find(state_.data.current, slot, card);
    const DueLines lines = OverprintOf(card, record, page);
    if (!lines.Any()) {
      ++fresh;
      continue;
    }
    over[slot] = lines;
    if (over.size() <= kNamed)
      names += "\n" + LoadStringWith(StringId::GroupOverprintCard,
                                     {card.displayName, LineNames(card, record, lines)});
  }
  if (over.empty()) return over;
  if (over.size() > kNamed)
    names +=
        "\n" + LoadStringWith(StringId::GroupOverprintMore, {std::to_string(over.size() - kNamed)});
  const std::string question =
      LoadStringWith(StringId::GroupOverprintQuestion,
                     {std::to_string(fresh), std::to_string(over.size()), names});
  switch (prompts_.AskOverprint(question)) {
    case OverprintAnswer::kPrintAnyway:
      return LeaveOut{};
    case OverprintAnswer::kCancel:
      return std::nullopt;
    case OverprintAnswer::kLeaveOut:
      break;
  }
  return over;
}

std::string Session::RecordPrinted(const std::vector<PrintedPage>& pages,
                                   std::vector<LedgerEntry>* recorded) {
  return ledger_.Record(state_.data.current, pages, Today(), recorded);
}

std::filesystem::path Session::JobsFile() const {
  if (ledger_.file().empty()) return {};
  return ledger_.file().parent_path() / kPendingJobsFileName;
}

namespace {

bool SameJob(const PendingJob& a, const PendingJob& b) {
  return a.computer == b.computer && a.printer == b.printer && a.id == b.id;
}

}  // namespace

PendingJob Session::KeepFollowing(const std::string& printer, int jobId,
                                  std::vector<LedgerEntry> recorded) {
  PendingJob job{ComputerName(), printer, jobId, std::move(recorded)};
  if (job.id <= 0 || job.recorded.empty() || JobsFile().empty()) return job;
  PendingJobs file(JobsFile());
  // Not kept (the lock stayed busy, the folder is read-only): followed this run all the same.
  if (file.Change([&](std::vector<PendingJob>& jobs) {
        std::erase_if(jobs, [&](const PendingJob& other) { return SameJob(other, job); });
        jobs.push_back(job);
        return true;
      }))
    keptIn_[{printer, jobId}] = file.file();
  return job;
}

std::vector<PendingJob> Session::KeptJobs() {
  std::vector<PendingJob> mine;
  // A start with nothing kept makes no lock file either.
  std::error_code ec;
  if (JobsFile().empty() || !std::filesystem::exists(JobsFile(), ec)) return mine;
  const std::string computer = ComputerName();
  PendingJobs file(JobsFile());
  std::filesystem::path setAside;
  file.Change(
      [&](std::vector<PendingJob>& jobs) {
        for (const PendingJob& job : jobs)
          if (job.computer == computer) mine.push_back(job);
        return false;
      },
      nullptr, &setAside);
  for (const PendingJob& job : mine) keptIn_[{job.printer, job.id}] = file.file();
  if (!setAside.empty())
    prompts_.ShowMessage(
        LoadStringWith(StringId::PendingJobsSetAside, {PathText(file.file()), PathText(setAside)}));
  return mine;
}

std::string Session::JobEnded(const PendingJob& job, JobFate fate) {
  std::optional<PendingJobs> claimed;
  if (const auto kept = keptIn_.find({job.printer, job.id}); kept != keptIn_.end()) {
    PendingJobs file(kept->second);
    keptIn_.erase(kept);
    if (file.file() != JobsFile()) return {};
    // Whoever takes the job out of the list does what its end asks: two copies that follow one
    // job never take it back twice. When the list cannot be changed, the end is seen to here and
    // the next start finds nothing left to do.
    bool found = false;
    const bool listRead = file.Change([&](std::vector<PendingJob>& jobs) {
      found = std::erase_if(jobs, [&](const PendingJob& other) { return SameJob(other, job); }) > 0;
      return found;
    });
    if (listRead && !found) return {};
    if (listRead) claimed = file;
  }
  if (fate != JobFate::kCancelled) return {};
  bool saved = true;
  std::string message = ledger_.TakeBack(job.recorded, job.printer, &saved);
  // Not in the ledger's file: followed again at the next start, to be taken back then.
  if (!saved && claimed)
    claimed->Change([&](std::vector<PendingJob>& jobs) {
      jobs.push_back(job);
      return true;
    });
  return message;
}

bool Session::HasChangedItems() const {
  const CardContent& card = Content();
  const CardRecord* record = LedgerRecord();
  if (!record) return false;
  const MonthlyLedgerView view = MonthlyLedgerOf(card, record);
  return HeaderLedgerOf(card, record).changed || view.total == LedgerMark::kChanged ||
         std::find(view.rows.begin(), view.rows.end(), LedgerMark::kChanged) != view.rows.end();
}

std::string Session::ConfirmCorrectedByHand() {
  const CardContent& card = Content();
  const CardRecord* record = LedgerRecord();
  if (!record) return {};
  // Recorded as a print of exactly the changed items would be: nothing else is touched.
  const MonthlyLedgerView view = MonthlyLedgerOf(card, record);
  CardPageInput page = CardPage();
  page.header.printHeader = HeaderLedgerOf(card, record).changed;
  page.header.printGenderMarks = false;
  for (int row = 0; row < 12; ++row)
    page.grid.monthRow[row] = view.rows[row] == LedgerMark::kChanged;
  page.grid.printTotal = view.total == LedgerMark::kChanged;
  return ledger_.Record(state_.data.current, {{state_.selection.selectedPublisher, &card, page}},
                        Today());
}

std::string Session::ForgetCard() {
  return ledger_.Forget(state_.data.current, state_.selection.selectedPublisher, Content());
}

std::string Session::HeaderLedgerNote() const {
  return HeaderLedgerText(Content(), HeaderLedgerOf(Content(), LedgerRecord()));
}

std::string Session::MonthlyLedgerNote() const {
  const CardContent& card = Content();
  return MonthlyLedgerText(card, MonthlyLedgerOf(card, LedgerRecord()));
}

}  // namespace velunorh
