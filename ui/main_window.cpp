#include "ui/main_window.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include "base/platform.h"
#include "base/string_table.h"
#include "card/card_text.h"
#include "ui/about_box.h"
#include "ui/accessible_window.h"
#include "ui/context_menu_key.h"
#include "ui/dialog_prompts.h"
#include "ui/dialog_units.h"
#include "ui/enter_key.h"
#include "ui/fit_to_screen.h"
#include "ui/options_dialog.h"
#include "ui/preview_pane.h"
#include "ui/print/application_printer.h"
#include "ui/print/group_print.h"
#include "ui/print/print_file_question.h"
#include "ui/print/print_gate.h"
#include "ui/print/print_job.h"
#include "ui/print/print_preview.h"
#include "ui/program_icon.h"
#include "ui/qt_text.h"
#include "ui/show_message.h"
#include "ui/type_ahead_list.h"
#include "ui_main_window.h"

namespace velunorh {

MainWindow::MainWindow(Options options, QWidget* parent)
    : QDialog(parent),
      ui_(new Ui::MainWindowForm),
      warn_(options.warn ? options.warn : MessageBoxOver(this)),
      inform_(options.inform),
      groupProgressDelay_(options.groupProgressDelay),
      dialogPrompts_(options.prompts ? nullptr
                                     : std::make_unique<DialogPrompts>(
                                           this, options.floppyFolder,
                                           [this](const std::string& m) { warn_(FromUtf8(m)); })),
      session_({options.settingsFile, options.workFolder, options.floppyFolder},
               options.prompts ? *options.prompts : *dialogPrompts_) {
  if (!inform_ && !options.warn)
    inform_ = [this](const QString& message) {
      // Printer and file names come from outside: shown as typed, never as markup.
      QMessageBox box(QMessageBox::Information, Text(StringId::ProgramName), message,
                      QMessageBox::Ok, this);
      box.setTextFormat(Qt::PlainText);
      box.exec();
    };
  if (!inform_) inform_ = [](const QString&) {};
  ListOpenMenusWithMainWindow();
  ui_->setupUi(this);
  ApplyDialogUnits(this);
  PressFocusedButtonOnEnter(this);
  list_ = ui_->publisherList;
  printGate_ = std::make_unique<PrintGate>(
      std::vector<QWidget*>{ui_->printButton, ui_->previewButton, ui_->groupPrintButton});
  jobFollower_ = new JobFollower(
      options.jobFollowInterval,
      [this](const JobFollower::Job& job, SpoolerWatch::Job state) { JobEnded(job, state); }, this);
  monthBoxes_ = {ui_->monthBox0, ui_->monthBox1, ui_->monthBox2,  ui_->monthBox3,
                 ui_->monthBox4, ui_->monthBox5, ui_->monthBox6,  ui_->monthBox7,
                 ui_->monthBox8, ui_->monthBox9, ui_->monthBox10, ui_->monthBox11};
  FitToScreen();

  ui_->headerPreview->SetPainter(
      [this](Surface& surface, const Rect& client) { PaintHeaderPreview(surface, client); });
  ui_->monthlyPreview->SetPainter(
      [this](Surface& surface, const Rect& client) { PaintMonthlyPreview(surface, client); });
  // Screen readers read the card the previews show.
  ui_->headerPreview->SetAccessibleText(
      [this] { return FromUtf8(DescribeHeader(session_.Content())); });
  ui_->monthlyPreview->SetAccessibleText(
      [this] { return FromUtf8(DescribeMonths(session_.Content())); });
  ShowGroupCaption();
  ui_->chooseFolderButton->setText(Text(StringId::ChooseDataFolderButton));
  setWindowIcon(ProgramIcon());

  status_ = session_.StartUp(options.today);
  if (!stopRequested()) FillPublisherList();
  SyncBoxes();
  if (stopRequested()) {
    Exit();
    return;
  }
  ApplicationPrinter::Instance().Remember(FromUtf8(session_.rememberedPrinter()));
  session_.SetPreviousServiceYear(false);
  ShowChoice();
  UpdateTitle();
  ConnectCommands();
  // Once the window shows: the list is read then, and the spooler asked off its thread.
  QTimer::singleShot(0, this, [this] { FollowKeptJobs(); });
}

MainWindow::~MainWindow() = default;

// The month boxes are ticked every month: grown with a large font on a small screen, the window
// draws its previews smaller rather than hide the boxes behind a scroll bar.
void MainWindow::FitToScreen() {
  QList<QWidget*> boxes(monthBoxes_.begin(), monthBoxes_.end());
  boxes << ui_->totalBox;
  const double shrink =
      ShrinkPanesToFitScreen(this, {ui_->headerPreview, ui_->monthlyPreview}, boxes);
  ui_->headerPreview->SetShrink(shrink);
  ui_->monthlyPreview->SetShrink(shrink);
}

// The boxes follow however they change (mouse, keyboard, mnemonic or an accessibility action):
// they listen to toggled, and the window's own changes to them are made with signals blocked.
void MainWindow::ConnectCommands() {
  connect(list_, &QListWidget::currentRowChanged, this, [this] {
    session_.ChooseFromList(ListedSlot());
    ShowChoice();
  });
  connect(list_, &TypeAheadList::characterTyped, this, &MainWindow::ChooseListedPublisher);
  connect(ui_->fullNameBox, &QCheckBox::toggled, this, [this](bool checked) {
    session_.SetUseFullName(checked);
    ShowChoice();
    FocusList();
  });
  connect(ui_->lastNameFirstBox, &QCheckBox::toggled, this, [this](bool checked) {
    session_.SetLastNameFirst(checked);
    ShowChoice();
    FocusList();
  });
  connect(ui_->groupButton, &QPushButton::clicked, this, [this] {
    session_.NextGroup();
    ShowGroupCaption();
    FillPublisherList();
    FocusList();
  });
  connect(ui_->optionsButton, &QPushButton::clicked, this, &MainWindow::OpenOptions);
  connect(ui_->chooseFolderButton, &QPushButton::clicked, this, &MainWindow::ChooseDataFolder);
  for (int row = 0; row < 12; ++row) {
    connect(monthBoxes_[row], &QCheckBox::toggled, this, [this, row](bool checked) {
      session_.SetMonthRow(row, checked);
      ShowChoice();
    });
  }
  connect(ui_->totalBox, &QCheckBox::toggled, this, [this](bool checked) {
    session_.SetPrintTotal(checked);
    ShowChoice();
  });
  connect(ui_->previousYearBox, &QCheckBox::toggled, this, [this](bool checked) {
    session_.SetPreviousServiceYear(checked);
    ShowChoice();
  });
  connect(ui_->printHeaderBox, &QCheckBox::toggled, this, [this](bool checked) {
    session_.SetPrintHeader(checked);
    ShowChoice();
  });
  connect(ui_->genderMarksBox, &QCheckBox::toggled, this, [this](bool checked) {
    session_.SetPrintGenderMarks(checked);
    ShowChoice();
  });
  connect(ui_->printButton, &QPushButton::clicked, this, &MainWindow::PrintCard);
  connect(ui_->previewButton, &QPushButton::clicked, this, &MainWindow::PreviewCard);
  connect(ui_->groupPrintButton, &QPushButton::clicked, this, &MainWindow::PrintGroup);
  connect(ui_->doneButton, &QPushButton::clicked, this, &QDialog::reject);
  ConnectLedger();
}

int MainWindow::ListedSlot() const {
  QListWidgetItem* item = list_->currentItem();
  return item ? item->data(Qt::UserRole).toInt() : 0;
}

void MainWindow::ChooseListedPublisher() {
  session_.ChoosePublisher(ListedSlot());
  ShowChoice();
}

// Shows the session's choice: the boxes, which of them are visible, and both previews.
void MainWindow::ShowChoice() {
  const HeaderBoxes visible = session_.VisibleHeaderBoxes();
  ui_->fullNameBox->setVisible(visible.fullName);
  ui_->lastNameFirstBox->setVisible(visible.lastNameFirst);
  ui_->genderMarksBox->setVisible(visible.genderMarks);
  SyncBoxes();
  ui_->headerPreview->update();
  ui_->monthlyPreview->update();
  ui_->headerPreview->NotifyAccessibleTextChanged();
  ui_->monthlyPreview->NotifyAccessibleTextChanged();
  ShowLedgerNotes();
  ui_->dueButton->setEnabled(session_.CanTellDue());
}

// Started in a folder without the publisher file, the window names the folder it read. A switch
// to such a folder keeps the list it had, and the hint would then say an untrue thing: so it is
// shown only over an empty list, and looked at again whenever the list is filled.
void MainWindow::ShowMissingDataHint() {
  const bool missing = session_.PublisherFileMissing() && list_->count() == 0;
  ui_->missingDataHint->setVisible(missing);
  ui_->chooseFolderButton->setVisible(missing);
  if (!missing) return;
  std::error_code error;
  std::filesystem::path folder = std::filesystem::absolute(session_.PublisherFile(), error);
  ui_->missingDataHint->setText(
      Text(StringId::MissingDataHint).arg(FromUtf8(PathText(folder.parent_path()))));
  ui_->missingDataHint->setAccessibleName(ui_->missingDataHint->text());
}

void MainWindow::SyncBoxes() {
  const CardSelection& s = session_.selection();
  auto set = [](QCheckBox* box, bool checked, bool enabled = true) {
    QSignalBlocker block(box);
    box->setChecked(checked);
    box->setEnabled(enabled);
  };
  set(ui_->fullNameBox, s.useFullName);
  set(ui_->lastNameFirstBox, session_.settings().lastNameFirst);
  set(ui_->previousYearBox, s.year.previousServiceYear);
  set(ui_->printHeaderBox, s.printHeader);
  set(ui_->genderMarksBox, s.printGenderMarks, s.genderMarksEnabled);
  for (int row = 0; row < 12; ++row) set(monthBoxes_[row], s.monthRow[row], s.monthRowEnabled[row]);
  set(ui_->totalBox, s.printTotal, s.totalEnabled);
}

void MainWindow::FillPublisherList() {
  ListPublishers(0);
  FocusList();
}

void MainWindow::ListPublishers(int slot) {
  {
    QSignalBlocker block(list_);
    list_->clear();
    int current = 0;
    for (const auto& line : session_.PublisherLines()) {
      if (line.slot == slot) current = list_->count();
      auto* item = new QListWidgetItem(FromUtf8(line.text), list_);
      item->setData(Qt::UserRole, line.slot);
    }
    if (list_->count() > 0) list_->setCurrentRow(current);
  }
  ShowMissingDataHint();
  ChooseListedPublisher();
}

void MainWindow::ShowGroupCaption() {
  ui_->groupButton->setText(FromUtf8(session_.GroupCaption()));
}

void MainWindow::UpdateTitle() {
  setWindowTitle(FromUtf8(session_.Title()));
}

void MainWindow::PaintHeaderPreview(Surface& surface, const Rect& client) {
  LookAtTheFilesSoon();
  DrawHeaderPreview(surface, client, session_.Content(), session_.HeaderPreview());
}

void MainWindow::PaintMonthlyPreview(Surface& surface, const Rect& client) {
  // The system's border sizes: one pixel on these screens.
  constexpr int kBorderX = 1, kBorderY = 1;
  LookAtTheFilesSoon();
  DrawMonthlyPreview(surface, client, session_.Content(), session_.MonthlyPreview(), kBorderX,
                     kBorderY);
}

void MainWindow::PrintCard() {
  printGate_->Run([this] { PrintChosenCard(); });
}

bool MainWindow::PrintChosenCard() {
  // The card prints the figures the files hold now, not those read at the start.
  LookAtTheFilesNow();
  if (!session_.HasPrintableCard()) return false;
  if (!session_.CardPageHasAnything()) {
    warn_(Text(StringId::NothingOnThePage));
    return false;
  }
  // A copy: the file dialog below gives the window back its activation, which may read a
  // changed remark file and build the session's card anew.
  const CardContent card = session_.Content();
  // Ink over ink cannot be read: lines the card already holds are left out unless the user says.
  const std::optional<CardPageInput> settled = session_.SettleOverprint(card, session_.CardPage());
  if (!settled) return false;
  const CardPageInput page = *settled;
  if (!CardPagePlacesAnything(card, page)) {
    warn_(Text(StringId::LedgerNothingDue).arg(FromUtf8(card.displayName)));
    return false;
  }
  const std::optional<QPrinter*> settledPrinter =
      SettlePrinter(this, MarginsFollowThePrinter(), warn_);
  if (!settledPrinter) return false;
  QPrinter* printer = *settledPrinter;
  const CardPageInput placed = session_.WithMarginsInUse(page);
  if (printer && !AskPrintFile(this, *printer, session_.PrintFileNameOfCard())) return false;
  HandOver handOver;
  handOver.sendWhilePaused = AskSendWhilePaused(this);
  handOver.window = this;
  const PrintOutcome outcome = PrintCardPage(
      printer, [card, placed](Surface& surface) { DrawCardPage(surface, card, placed); },
      &handOver);
  if (outcome != PrintOutcome::kPrinted) {
    if (const QString message = PrintOutcomeMessage(outcome, printer); !message.isEmpty())
      warn_(message);
    return false;
  }
  RecordPrinted({{session_.selection().selectedPublisher, &card, placed}}, *printer, handOver.job);
  if (PrintsToFile(*printer))
    inform_(Text(StringId::PrintFileSaved).arg(PrintDestination(*printer)));
  FocusList();
  return true;
}

void MainWindow::PreviewCard() {
  printGate_->Run([this] {
    LookAtTheFilesNow();
    if (!session_.HasPrintableCard()) {
      warn_(Text(StringId::NothingToPrint));
      return;
    }
    if (!session_.CardPageHasAnything()) {
      warn_(Text(StringId::NothingOnThePage));
      return;
    }
    const std::optional<QPrinter*> settled = SettlePrinter(this, MarginsFollowThePrinter(), warn_);
    if (!settled) return;
    QPrinter* printer = *settled;
    if (!printer) {
      warn_(PrintOutcomeMessage(PrintOutcome::kNoPrinter));
      return;
    }
    const CardContent card = session_.Content();
    const CardPageInput page = session_.CardPage();
    ShowPrintPreview(
        this, *printer, [&](Surface& surface) { DrawCardPage(surface, card, page); },
        [this] { return PrintChosenCard(); });
  });
}

PrinterSwitched MainWindow::MarginsFollowThePrinter() {
  return [this](const std::string& before, const std::string& now) {
    session_.SwitchPrinter(before, now);
  };
}

void MainWindow::PrintGroup() {
  printGate_->Run([this] {
    LookAtTheFilesNow();
    GroupPrint::Hooks hooks;
    hooks.warn = warn_;
    hooks.inform = inform_;
    hooks.record = [this](const std::vector<Session::PrintedPage>& pages, const QPrinter& printer,
                          int job) { RecordPrinted(pages, printer, job); };
    hooks.progressDelay = groupProgressDelay_;
    if (GroupPrint(this, session_, hooks).Run()) FocusList();
  });
}

void MainWindow::OpenOptions() {
  OptionsDialog::Services services;
  services.workFolder = session_.workFolder();
  services.showMessage = warn_;
  services.changeDataSource = [this] { ChangeDataSource(); };
  // A printer chosen in the dialog prints at once, OK or not: its margins come with it.
  services.printerSwitched = MarginsFollowThePrinter();
  OptionsDialog dialog(session_.Options(), services, this);
  std::optional<OptionsValues> chosen;
  if (dialog.exec() == QDialog::Accepted) chosen = dialog.values();
  ApplyOptions(chosen);
}

void MainWindow::ApplyOptions(const std::optional<OptionsValues>& chosen) {
  if (session_.ApplyOptions(chosen)) {
    FillPublisherList();
    UpdateTitle();
  }
  FocusList();
}

void MainWindow::ChangeDataSource() {
  if (session_.ChangeDataSource())
    FillPublisherList();
  else
    ShowMissingDataHint();  // the list stays, but the folder read may be another
}

void MainWindow::ChooseDataFolder() {
  QFileDialog dialog(this, Text(StringId::ChooseDataFolderTitle),
                     FromUtf8(PathText(std::filesystem::absolute(session_.workFolder()))));
  dialog.setObjectName("dataFolderDialog");
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const Session::FolderChoice choice = session_.ChooseDataFolder(
      std::filesystem::path(dialog.selectedFiles().first().toStdU16String()));
  if (choice.reloaded) {
    FillPublisherList();
    UpdateTitle();
    FollowKeptJobs();  // as a start in that folder would
  }
  if (!choice.message.empty()) warn_(FromUtf8(choice.message));
}

void MainWindow::ShowAbout() {
  AboutBox about(this);
  about.exec();
}

void MainWindow::FocusList() {
  list_->setFocus();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  ShowContextMenu(event->globalPos());
}

void MainWindow::ShowContextMenu(const QPoint& globalPos) {
  QMenu menu(this);
  menu.setObjectName("contextMenu");
  AddLedgerActions(menu);
  const std::string aboutText = LoadString(StringId::AboutMenuItem);
  if (!aboutText.empty()) {
    menu.addSeparator();
    menu.addAction(FromUtf8(aboutText), this, &MainWindow::ShowAbout);
  }
  menu.exec(globalPos);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && !LoadString(StringId::AboutMenuItem).empty()) {
    ShowAbout();
    return;
  }
  if (IsContextMenuKey(*event)) {
    QWidget* at = focusWidget() ? focusWidget() : this;
    ShowContextMenu(at->mapToGlobal(at->rect().center()));
    return;
  }
  QDialog::keyPressEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) LookAtTheFilesSoon();
}

// The previews show the files as they are now: a remark the companion program wrote, a ledger
// the user made readable. Looked at just after the paint or activation that asks, never inside
// it: reading the ledger again may have to tell the user something.
void MainWindow::LookAtTheFilesSoon() {
  if (lookingSoon_) return;
  lookingSoon_ = true;
  QTimer::singleShot(0, this, [this] {
    lookingSoon_ = false;
    if (!exited_) LookAtTheFilesNow();
  });
}

void MainWindow::LookAtTheFilesNow() {
  const int readings = session_.publisherReadings();
  if (!session_.RefreshFromFiles()) return;
  // The publishers read again: the list follows, the chosen publisher kept.
  if (session_.publisherReadings() != readings)
    ListPublishers(session_.selection().selectedPublisher);
  else
    ShowChoice();
}

void MainWindow::done(int result) {
  Exit();
  QDialog::done(result);
}

void MainWindow::Exit() {
  if (exited_) return;
  exited_ = true;
  session_.SetChosenPrinter(ApplicationPrinter::Instance().ChosenInSetup().toStdString());
  ExitReport report = session_.Exit();
  QStringList problems;
  if (!report.settingsWritten)
    problems << Text(StringId::SettingsNotSaved)
                    .arg(QString::fromStdString(session_.settingsFile().string()),
                         FromUtf8(report.settingsError));
  if (!report.layoutWritten && (report.layoutChanged || report.layoutKept))
    problems << FromUtf8(LayoutNotSavedMessage(session_.LayoutFile(session_.settings().cardVersion),
                                               report.layoutError));
  if (!report.printerWritten)
    problems << Text(StringId::SettingsNotSaved)
                    .arg(QString::fromStdString(session_.settingsFile().string()),
                         FromUtf8(report.printerError));
  if (!problems.isEmpty()) warn_(problems.join("\n\n"));
}

// --- The print ledger -------------------------------------------------------------------------

void MainWindow::ConnectLedger() {
  headerPreviewName_ = ui_->headerPreview->accessibleName();
  monthlyPreviewName_ = ui_->monthlyPreview->accessibleName();
  connect(ui_->dueButton, &QPushButton::clicked, this, &MainWindow::TickDueLines);
  ShowLedgerNotes();
}

void MainWindow::TickDueLines() {
  if (!session_.TickDue() && session_.HasPrintableCard())
    warn_(FromUtf8(LoadStringWith(StringId::LedgerNothingDue, {session_.Content().displayName})));
  ShowChoice();
  FocusList();
}

void MainWindow::RecordPrinted(const std::vector<Session::PrintedPage>& pages,
                               const QPrinter& printer, int job) {
  std::vector<LedgerEntry> recorded;
  const std::string problem = session_.RecordPrinted(pages, &recorded);
  if (!problem.empty()) warn_(FromUtf8(problem));
  // A job the queue holds may still be cancelled there: then it never reached the card.
  if (problem.empty() && !PrintsToFile(printer))
    jobFollower_->Follow(
        session_.KeepFollowing(printer.printerName().toStdString(), job, std::move(recorded)));
  ui_->headerPreview->update();
  ui_->monthlyPreview->update();
  ShowLedgerNotes();
}

void MainWindow::FollowKeptJobs() {
  if (exited_) return;
  for (JobFollower::Job& job : session_.KeptJobs()) jobFollower_->Follow(std::move(job));
}

void MainWindow::JobEnded(const JobFollower::Job& job, SpoolerWatch::Job state) {
  if (exited_) return;  // still listed: the next start sees to it
  const JobFate fate = state == SpoolerWatch::Job::kCompleted   ? JobFate::kCompleted
                       : state == SpoolerWatch::Job::kCancelled ? JobFate::kCancelled
                                                                : JobFate::kUnknown;
  const std::string message = session_.JobEnded(job, fate);
  if (message.empty()) return;
  warn_(FromUtf8(message));
  ui_->headerPreview->update();
  ui_->monthlyPreview->update();
  ShowLedgerNotes();
}

void MainWindow::ForgetCard() {
  if (!session_.HasPrintableCard()) return;
  const CardContent& card = session_.Content();
  const QString name = FromUtf8(card.displayName);
  if (!session_.LedgerRecord()) {
    warn_(FromUtf8(LoadStringWith(StringId::LedgerForgetNothing, {card.displayName})));
    return;
  }
  const int year = LedgerServiceYear(card);
  QMessageBox ask(
      QMessageBox::Question, Text(StringId::ProgramName),
      FromUtf8(LoadStringWith(StringId::LedgerForgetQuestion,
                              {card.displayName, std::to_string(year), std::to_string(year + 1)})),
      QMessageBox::Ok | QMessageBox::Cancel, this);
  ask.setObjectName("forgetCardQuestion");
  ask.setTextFormat(Qt::PlainText);
  ask.setDefaultButton(QMessageBox::Cancel);
  ask.button(QMessageBox::Cancel)->setText(Text(StringId::CancelButton));
  if (ask.exec() != QMessageBox::Ok) return;
  const std::string problem = session_.ForgetCard();
  if (!problem.empty()) warn_(FromUtf8(problem));
  ShowChoice();
}

void MainWindow::ConfirmCorrectedByHand() {
  if (!session_.HasChangedItems()) return;
  const std::string problem = session_.ConfirmCorrectedByHand();
  if (!problem.empty()) warn_(FromUtf8(problem));
  ShowChoice();
}

void MainWindow::AddLedgerActions(QMenu& menu) {
  QAction* corrected = menu.addAction(Text(StringId::LedgerCorrectedByHandMenuItem), this,
                                      &MainWindow::ConfirmCorrectedByHand);
  corrected->setObjectName("correctedByHandAction");
  corrected->setEnabled(session_.HasChangedItems());
  QAction* forget =
      menu.addAction(Text(StringId::LedgerForgetMenuItem), this, &MainWindow::ForgetCard);
  forget->setEnabled(session_.HasPrintableCard());
}

// Screen readers hear the ledger's marks with the previews' names; a pointer resting on a
// preview shows them too, with what changed beside a "!".
void MainWindow::ShowLedgerNotes() {
  if (headerPreviewName_.isEmpty() && monthlyPreviewName_.isEmpty()) return;  // not connected yet
  auto show = [](PreviewPane* pane, const QString& base, const std::string& note) {
    pane->setAccessibleName(note.empty() ? base : base + QStringLiteral(" – ") + FromUtf8(note));
    pane->setToolTip(FromUtf8(note));
  };
  show(ui_->headerPreview, headerPreviewName_, session_.HeaderLedgerNote());
  show(ui_->monthlyPreview, monthlyPreviewName_, session_.MonthlyLedgerNote());
}

}  // namespace velunorh
