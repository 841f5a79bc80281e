#pragma once

#include <QDialog>
#include <QPoint>
#include <array>
#include <chrono>
#include <functional>
#include <memory>

#include "base/platform.h"
#include "card/surface.h"
#include "session/session.h"
#include "ui/print/application_printer.h"
#include "ui/print/print_job_follower.h"

class QCheckBox;
class QMenu;
class QPrinter;
class QPushButton;

namespace Ui {
class MainWindowForm;
}

namespace velunorh {

class PreviewPane;
class PrintGate;
class TypeAheadList;

// The program's one window (dialog 102): the publisher list, the two previews, the boxes that
// choose what is printed, and the commands. Every decision is the session's; the window shows
// it and passes the user's actions on.
class MainWindow : public QDialog {
  Q_OBJECT

 public:
  struct Options {
    std::filesystem::path settingsFile;
    std::filesystem::path workFolder = ".";
    std::filesystem::path floppyFolder = DefaultFloppyFolder();
    ServiceYear today;
    // Answers the session's questions; null gets the real dialogs.
    UserPrompts* prompts = nullptr;
    // Tells the user what went wrong (a message box unless a test listens instead).
    std::function<void(const QString& message)> warn;
    // Tells the user where a print went (a message box; a caller that listens to `warn` alone
    // does not hear it).
    std::function<void(const QString& message)> inform;
    // How long a group print runs before its progress window shows.
    std::chrono::milliseconds groupProgressDelay{400};
    // How often the spooler is asked what became of the jobs it holds.
    std::chrono::milliseconds jobFollowInterval{3000};
  };

  explicit MainWindow(Options options, QWidget* parent = nullptr);
  ~MainWindow() override;

  bool stopRequested() const { return status_ == SessionStatus::kStopped; }
  Session& session() { return session_; }
  const Session& session() const { return session_; }

  // Operations other parts of the program use.
  void FillPublisherList();
  void PrintCard();
  // Qt's print preview of exactly what PrintCard would print now.
  void PreviewCard();
  // Every card of the list as one print job, after a question and with a progress dialog.
  void PrintGroup();
  // The print ledger's commands: "Esedékes" ticks the chosen card's due lines; ForgetCard asks,
  // then forgets what the chosen card carries this service year (a new card).
  void TickDueLines();
  void ForgetCard();
  // "Javítva kézzel": what changed since the print was corrected on the card by hand.
  void ConfirmCorrectedByHand();
  void ShowAbout();
  // Lets the user choose another data location and reloads the data from there.
  void ChangeDataSource();
  // The options command's hand-over (nothing = cancel).
  void ApplyOptions(const std::optional<OptionsValues>& chosen);

 protected:
  void done(int result) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Back in the window: what the companion program changed meanwhile is shown.
  void changeEvent(QEvent* event) override;

 private:
  void ConnectCommands();
  int ListedSlot() const;  // the publisher of the list's current row (0: none)
  void ChooseListedPublisher();
  void ShowChoice();
  void SyncBoxes();
  void UpdateTitle();
  void ShowGroupCaption();
  void FitToScreen();
  void ShowMissingDataHint();
  void ChooseDataFolder();
  void ShowContextMenu(const QPoint& globalPos);
  void PaintHeaderPreview(Surface& surface, const Rect& client);
  void PaintMonthlyPreview(Surface& surface, const Rect& client);
  void FocusList();
  void LookAtTheFilesSoon();
  // What the companion program changed is read and shown now: before a print.
  void LookAtTheFilesNow();
  // Fills the list; the row of `slot` is current when it is listed, else the first row.
  void ListPublishers(int slot);
  void Exit();
  void OpenOptions();
  // The print ledger's part of the window.
  void ConnectLedger();
  // Records a job that went out to `printer` (a file: not followed) as spooler job `job`.
  void RecordPrinted(const std::vector<Session::PrintedPage>& pages, const QPrinter& printer,
                     int job);
  // A job followed is no longer waiting: a cancelled one's record is taken back.
  void JobEnded(const JobFollower::Job& job, SpoolerWatch::Job state);
  // The jobs an earlier run left waiting are followed again.
  void FollowKeptJobs();
  // The chosen card's print, for the button and the preview; true when it went out.
  bool PrintChosenCard();
  // Another printer in place of the one before brings back its own margins.
  PrinterSwitched MarginsFollowThePrinter();
  void AddLedgerActions(QMenu& menu);
  void ShowLedgerNotes();

  std::unique_ptr<Ui::MainWindowForm> ui_;
  std::function<void(const QString& message)> warn_;
  std::function<void(const QString& message)> inform_;
  std::chrono::milliseconds groupProgressDelay_;
  std::unique_ptr<PrintGate> printGate_;  // one print command at a time
  JobFollower* jobFollower_ = nullptr;
  std::unique_ptr<UserPrompts> dialogPrompts_;
  Session session_;
  SessionStatus status_ = SessionStatus::kRunning;
  TypeAheadList* list_ = nullptr;
  std::array<QCheckBox*, 12> monthBoxes_{};
  bool exited_ = false;
  bool lookingSoon_ = false;
  QString headerPreviewName_;
  QString monthlyPreviewName_;
};

}  // namespace velunorh
