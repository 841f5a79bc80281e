// The group print and the remembered printer through the real spooler: the CUPS queue
// SPOOL_QUEUE is the default printer and writes its PDF to SPOOL_PDF (the CTest fixture "spool").
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <functional>
#include <vector>

#include "main_window_fixture.h"
#include "pdf_words.h"
#include "session/pending_jobs.h"
#include "session/print_ledger.h"
#include "spool/spool_queue.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/modal_script.h"
#include "ui/options_dialog.h"
#include "ui/print/application_printer.h"
#include "ui/print/print_job.h"
#include "ui/print/spooler_wait.h"

namespace velunorh {
namespace {

tools::Congregation TwoPublishers() {
  tools::Congregation c;
  for (const char* given : {"Anna", "Béla"}) {
    tools::Publisher p;
    p.givenName = given;
    p.familyName = "Kovács";
    p.months[9].newForm = true;  // October
    p.months[9].hours = 12;
    c.current.publishers.push_back(p);
  }
  return c;
}

// The tests' scheduler stopped with SIGSTOP until resumed (at the latest when this ends), and
// the spooler's time limits shortened meanwhile.
class StoppedScheduler {
 public:
  StoppedScheduler() : saved_(SpoolerWaitLimits::Current()) {
    SpoolerWaitLimits::Current().giveUpAfter = std::chrono::milliseconds(2000);
    SpoolerWaitLimits::Current().showAfter = std::chrono::milliseconds(100);
  }
  ~StoppedScheduler() {
    Resume();
    SpoolerWaitLimits::Current() = saved_;
  }
  void Stop() { ASSERT_EQ(kill(pid_, SIGSTOP), 0); }
  void Resume() { kill(pid_, SIGCONT); }

 private:
  pid_t pid_ = std::stoi(test::ReadText(std::filesystem::path(SPOOL_CUPS_DIR) / "state/cupsd.pid"));
  SpoolerWaitLimits saved_;
};

// The longest stretch in which the window's thread handled no event, from construction on.
class Heartbeat {
 public:
  Heartbeat() {
    clock_.start();
    QObject::connect(&beat_, &QTimer::timeout, [this] {
      longest_ = std::max(longest_, clock_.elapsed() - last_);
      last_ = clock_.elapsed();
    });
    beat_.start(10);
  }
  qint64 longest() const { return longest_; }

 private:
  QElapsedTimer clock_;
  QTimer beat_;
  qint64 last_ = 0, longest_ = 0;
};

class SpoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::WriteCongregation(TwoPublishers(), dir_.path());
    ApplicationPrinter::Instance().Reset();
    main_.ShowProgressAtOnce();
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  static int CompletedJobs(const std::string& queue) {
    const std::string list = test::Run("lpstat -W completed -o " + queue + " 2>/dev/null");
    return static_cast<int>(std::count(list.begin(), list.end(), '\n'));
  }

  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
};

TEST_F(SpoolTest, ACancelledGroupPrintLeavesNoJobInTheQueue) {
  const std::string queue = SPOOL_QUEUE;
  ASSERT_TRUE(test::WaitForQueue(queue));
  const int before = CompletedJobs(queue);
  auto window = main_.Open();
  for (int cancelAt : {0, 1}) {
    test::CancelProgressAt cancel(cancelAt);
    test::ModalScript script({[](QWidget* dialog) {
      qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
    }});
    QTest::mouseClick(window->findChild<QPushButton*>("groupPrintButton"), Qt::LeftButton);
    EXPECT_TRUE(cancel.cancelled()) << cancelAt;
  }
  EXPECT_TRUE(test::Run("lpstat -o " + queue + " 2>/dev/null").empty());
  EXPECT_EQ(CompletedJobs(queue), before);
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

// A queue that is gone or takes no jobs when "Nyomtatás" is pressed: the user is told, and
// the ledger says nothing is on the card. The queue is chosen in the print setup first, as a
// secretary would, and changed behind the program's back.
TEST_F(SpoolTest, APrintTheQueueDidNotTakeIsToldAndRecordsNothing) {
  const std::string other = std::string(SPOOL_QUEUE) + "-other";
  struct Case {
    const char* what;
    std::string change;
    const char* says;
  } cases[] = {
      {"removed", "lpadmin -x " + other, "már nincs meg"},
      {"rejecting jobs", "cupsreject " + other, "nem fogad"},
  };
  ASSERT_TRUE(test::WaitForQueue(SPOOL_QUEUE));
  const int defaultJobs = CompletedJobs(SPOOL_QUEUE);
  for (const Case& c : cases) {
    test::Run("lpadmin -p " + other +
              " -v file:///dev/null -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E 2>&1");
    main_.warnings.clear();
    auto window = main_.Open();
    ApplicationPrinter& printer = ApplicationPrinter::Instance();
    printer.ForSetup().setPrinterName(QString::fromStdString(other));
    printer.SetupConfirmed();
    window->session().SetMonthRow(1, true);  // October
    test::Run(c.change + " 2>&1");
    QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
    ASSERT_EQ(main_.warnings.size(), 1) << c.what;
    EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8(c.says)))
        << main_.warnings[0].toStdString();
    EXPECT_TRUE(main_.warnings[0].contains(QString::fromStdString(other))) << c.what;
    EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName)) << c.what;
    EXPECT_TRUE(test::Run("lpstat -o " SPOOL_QUEUE " 2>/dev/null").empty()) << c.what;
    EXPECT_EQ(CompletedJobs(SPOOL_QUEUE), defaultJobs) << c.what;  // never the default instead
    window->reject();
    test::Run("lpadmin -x " + other + " 2>/dev/null");
    ApplicationPrinter::Instance().Reset();
  }

  // The queue takes one job and refuses the next (its quota is spent): Qt reports nothing,
  // and only the first card is recorded.
  test::Run("lpadmin -p " + other +
            " -v file:///dev/null -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E"
            " -o job-quota-period=86400 -o job-k-limit=1 2>&1");
  main_.warnings.clear();
  auto window = main_.Open();
  ApplicationPrinter::Instance().ForSetup().setPrinterName(QString::fromStdString(other));
  ApplicationPrinter::Instance().SetupConfirmed();
  window->session().SetMonthRow(1, true);
  auto* print = window->findChild<QPushButton*>("printButton");
  QTest::mouseClick(print, Qt::LeftButton);
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
  const std::string recorded = test::ReadText(dir_ / kPrintLedgerFileName);
  window->findChild<QListWidget*>("publisherList")->setCurrentRow(1);
  window->session().SetMonthRow(1, true);
  QTest::mouseClick(print, Qt::LeftButton);
  ASSERT_EQ(main_.warnings.size(), 1);
  EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8("nem vette át")))
      << main_.warnings[0].toStdString();
  EXPECT_EQ(test::ReadText(dir_ / kPrintLedgerFileName), recorded);
  window->reject();
  test::Run("lpadmin -x " + other + " 2>/dev/null");
}

// A stopped queue (cupsdisable) takes a job and holds it. The user is asked before it goes
// there; a job sent anyway is recorded, and when it is cancelled in the queue the record is
// taken back, the user told which card and lines are due again. A job that prints stays.
TEST_F(SpoolTest, APausedQueueIsAskedAboutAndAJobCancelledThereIsTakenBack) {
  const std::string queue = SPOOL_QUEUE;
  const auto ledger = dir_ / kPrintLedgerFileName;
  ASSERT_TRUE(test::WaitForQueue(queue));
  struct Enable {
    std::string queue;
    ~Enable() { test::Run("cupsenable " + queue + " 2>&1"); }
  } enable{queue};
  test::Run("cupsdisable " + queue + " 2>&1");
  main_.options.jobFollowInterval = std::chrono::milliseconds(100);
  auto window = main_.Open();              // Anna
  window->session().SetMonthRow(1, true);  // October
  auto* print = window->findChild<QPushButton*>("printButton");
  auto* monthlyPreview = window->findChild<QWidget*>("monthlyPreview");
  QString asked;
  const auto answer = [&asked](const char* button) {
    return [&asked, button](QWidget* dialog) {
      ASSERT_EQ(dialog->objectName(), "pausedQueueQuestion");
      asked = qobject_cast<QMessageBox*>(dialog)->text();
      if (button)
        dialog->findChild<QPushButton*>(button)->click();
      else
        qobject_cast<QMessageBox*>(dialog)->escapeButton()->click();
    };
  };
  {
    test::ModalScript script({answer(nullptr)});
    QTest::mouseClick(print, Qt::LeftButton);
    ASSERT_EQ(script.answered(), 1);
  }
  EXPECT_TRUE(asked.contains(QString::fromUtf8("le van állítva"))) << asked.toStdString();
  EXPECT_TRUE(asked.contains(QString::fromStdString(queue)));
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
  EXPECT_TRUE(test::Run("lpstat -o " + queue + " 2>/dev/null").empty());
  EXPECT_FALSE(std::filesystem::exists(ledger));

  {
    test::ModalScript script({answer("sendAnyway")});
    QTest::mouseClick(print, Qt::LeftButton);
    ASSERT_EQ(script.answered(), 1);
  }
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
  EXPECT_FALSE(test::Run("lpstat -o " + queue + " 2>/dev/null").empty());  // held
  EXPECT_TRUE(monthlyPreview->accessibleName().contains(QString::fromUtf8("rajta: Okt")))
      << monthlyPreview->accessibleName().toStdString();
  test::Run("cancel -a " + queue + " 2>&1");
  for (int i = 0; i < 100 && main_.warnings.isEmpty(); ++i) QTest::qWait(100);
  ASSERT_EQ(main_.warnings.size(), 1);
  const QString told = main_.warnings[0];
  EXPECT_TRUE(told.contains(QString::fromUtf8("Anna Kovács"))) << told.toStdString();
  EXPECT_TRUE(told.contains(QString::fromUtf8("év: Okt"))) << told.toStdString();
  EXPECT_TRUE(told.contains(QString::fromStdString(queue))) << told.toStdString();
  EXPECT_FALSE(monthlyPreview->accessibleName().contains(QString::fromUtf8("rajta")))
      << monthlyPreview->accessibleName().toStdString();
  const auto cards = PrintLedger::Parse(test::ReadText(ledger));
  ASSERT_TRUE(cards);
  EXPECT_TRUE(cards->empty());

  // Started again, the queue prints: the record stays.
  test::Run("cupsenable " + queue + " 2>&1");
  main_.warnings.clear();
  {
    test::ModalScript none({});
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(none.unexpected(), 0);
  }
  ASSERT_TRUE(test::WaitForQueue(queue));
  QTest::qWait(500);
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
  EXPECT_EQ(PrintLedger::Parse(test::ReadText(ledger))->size(), 1u);
}

// A job still held when the program closes stays recorded and is followed again at the next
// start: cancelled meanwhile, its lines are due again and the user is told; printed meanwhile,
// its record stays. Either way the job is followed no more.
TEST_F(SpoolTest, AJobHeldWhenTheProgramClosedIsFollowedAtTheNextStart) {
  const std::string queue = SPOOL_QUEUE;
  const auto ledger = dir_ / kPrintLedgerFileName;
  const auto jobs = dir_ / kPendingJobsFileName;
  ASSERT_TRUE(test::WaitForQueue(queue));
  struct Enable {
    std::string queue;
    ~Enable() { test::Run("cupsenable " + queue + " 2>&1"); }
  } enable{queue};
  main_.options.jobFollowInterval = std::chrono::milliseconds(100);
  const auto octoberOnCard = [](MainWindow& window) {
    return window.findChild<QWidget*>("monthlyPreview")
        ->accessibleName()
        .contains(QString::fromUtf8("rajta: Okt"));
  };
  // October sent to the stopped queue, and the window closed with the job held there.
  const auto printHeldAndClose = [&] {
    test::Run("cupsdisable " + queue + " 2>&1");
    auto window = main_.Open();
    window->session().SetMonthRow(1, true);
    test::ModalScript script({[](QWidget* dialog) {
      ASSERT_EQ(dialog->objectName(), "pausedQueueQuestion");
      dialog->findChild<QPushButton*>("sendAnyway")->click();
    }});
    QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
    ASSERT_EQ(script.answered(), 1);
    ASSERT_FALSE(test::Run("lpstat -o " + queue + " 2>/dev/null").empty());  // held
    ASSERT_TRUE(octoberOnCard(*window));
    window->reject();
    ASSERT_EQ(PendingJobs::Parse(test::ReadText(jobs)).size(), 1u);
  };
  const auto waitUntilFollowedNoMore = [&] {
    for (int i = 0; i < 100 && !PendingJobs::Parse(test::ReadText(jobs)).empty(); ++i)
      QTest::qWait(100);
    EXPECT_TRUE(PendingJobs::Parse(test::ReadText(jobs)).empty());
  };

  printHeldAndClose();
  test::Run("cancel -a " + queue + " 2>&1");
  main_.warnings.clear();
  {
    auto window = main_.Open();
    EXPECT_TRUE(octoberOnCard(*window));  // until the print system is asked
    for (int i = 0; i < 100 && main_.warnings.isEmpty(); ++i) QTest::qWait(100);
    ASSERT_EQ(main_.warnings.size(), 1);
    const QString told = main_.warnings[0];
    EXPECT_TRUE(told.contains(QString::fromUtf8("év: Okt"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QString::fromStdString(queue))) << told.toStdString();
    EXPECT_FALSE(octoberOnCard(*window));
    waitUntilFollowedNoMore();
    EXPECT_TRUE(PrintLedger::Parse(test::ReadText(ledger))->empty());
  }

  printHeldAndClose();
  test::Run("cupsenable " + queue + " 2>&1");
  ASSERT_TRUE(test::WaitForQueue(queue));
  main_.warnings.clear();
  auto window = main_.Open();
  waitUntilFollowedNoMore();
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
  EXPECT_TRUE(octoberOnCard(*window));
  EXPECT_EQ(PrintLedger::Parse(test::ReadText(ledger))->size(), 1u);
}

// The print system stops answering (its scheduler stopped with SIGSTOP) when "Nyomtatás" is
// pressed: the window keeps taking events, shows what it waits for, and gives up after the
// time limit with a message, or at once on "Mégse". Nothing is recorded, and nothing prints
// when the scheduler runs again.
TEST_F(SpoolTest, AStoppedPrintSystemNeverFreezesTheWindow) {
  const std::string queue = SPOOL_QUEUE;
  ASSERT_TRUE(test::WaitForQueue(queue));
  const int before = CompletedJobs(queue);
  auto window = main_.Open();
  ApplicationPrinter& printer = ApplicationPrinter::Instance();
  printer.ForSetup().setPrinterName(QString::fromStdString(queue));
  printer.SetupConfirmed();
  window->session().SetMonthRow(1, true);  // October
  StoppedScheduler scheduler;
  scheduler.Stop();
  Heartbeat heartbeat;
  auto* print = window->findChild<QPushButton*>("printButton");
  QString waitedFor;
  {
    test::ModalScript wait({[&](QWidget* dialog) {
      EXPECT_EQ(dialog->objectName(), "spoolerWait");
      waitedFor = qobject_cast<QProgressDialog*>(dialog)->labelText();
    }});
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(wait.answered(), 1);
  }
  std::printf("printer chosen, state question: longest unresponsive stretch: %lld ms\n",
              static_cast<long long>(heartbeat.longest()));
  EXPECT_LT(heartbeat.longest(), 500);
  EXPECT_TRUE(waitedFor.contains(QString::fromStdString(queue))) << waitedFor.toStdString();
  ASSERT_EQ(main_.warnings.size(), 1);
  EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8("sem válaszolt")))
      << main_.warnings[0].toStdString();

  main_.warnings.clear();
  {
    test::ModalScript cancel(
        {[](QWidget* dialog) { qobject_cast<QProgressDialog*>(dialog)->cancel(); }});
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(cancel.answered(), 1);
  }
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
  EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName));
  scheduler.Resume();
  ASSERT_TRUE(test::WaitForQueue(queue));
  EXPECT_EQ(CompletedJobs(queue), before);
}

// No printer chosen yet, the print system stopped: looking the default printer up leaves the
// window responsive on every print path, shows what it waits for, and gives up with a message
// that says nothing was recorded (the group print once ended on "No Printer" here).
TEST_F(SpoolTest, LookingThePrinterUpNeverFreezesTheWindow) {
  ASSERT_TRUE(test::WaitForQueue(SPOOL_QUEUE));
  auto window = main_.Open();
  window->session().SetMonthRow(1, true);  // October
  StoppedScheduler scheduler;
  const auto all = [](QWidget* dialog) {
    qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
  };
  QString waitedFor;
  const auto wait = [&waitedFor](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "spoolerWait");
    waitedFor = qobject_cast<QProgressDialog*>(dialog)->labelText();
  };
  struct Path {
    const char* button;
    std::vector<test::ModalScript::Step> answers;
  } paths[] = {
      {"printButton", {wait}}, {"previewButton", {wait}}, {"groupPrintButton", {all, wait}}};
  for (const Path& path : paths) {
    ApplicationPrinter::Instance().Reset();
    main_.warnings.clear();
    waitedFor.clear();
    scheduler.Stop();
    Heartbeat heartbeat;
    {
      test::ModalScript script(path.answers);
      QTest::mouseClick(window->findChild<QPushButton*>(path.button), Qt::LeftButton);
      EXPECT_EQ(script.answered(), static_cast<int>(path.answers.size())) << path.button;
      EXPECT_EQ(script.unexpected(), 0) << path.button;
    }
    std::printf("no printer chosen, %s: longest unresponsive stretch: %lld ms\n", path.button,
                static_cast<long long>(heartbeat.longest()));
    EXPECT_LT(heartbeat.longest(), 500) << path.button;
    EXPECT_TRUE(waitedFor.contains(QString::fromUtf8("melyik nyomtató"))) << path.button;
    ASSERT_EQ(main_.warnings.size(), 1) << path.button;
    EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8("sem válaszolt")))
        << main_.warnings[0].toStdString();
    EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8("naplóba sem került")))
        << main_.warnings[0].toStdString();
    scheduler.Resume();
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName));
}

// The scheduler answers the state question and stops before the job is handed over (the
// paused queue's question is the moment between): the draw and the hand-over wait off the
// window's thread, give up with a message, record nothing, and the job the scheduler takes
// when it runs again is cancelled, so it never prints unrecorded. Single and group print.
TEST_F(SpoolTest, AHandOverToAStoppedPrintSystemNeverFreezesTheWindow) {
  const std::string queue = SPOOL_QUEUE;
  const std::filesystem::path pdf = SPOOL_PDF;
  ASSERT_TRUE(test::WaitForQueue(queue));
  struct Enable {
    std::string queue;
    ~Enable() { test::Run("cupsenable " + queue + " 2>&1"); }
  } enable{queue};
  test::Run("cupsdisable " + queue + " 2>&1");
  auto window = main_.Open();
  ApplicationPrinter& printer = ApplicationPrinter::Instance();
  printer.ForSetup().setPrinterName(QString::fromStdString(queue));
  printer.SetupConfirmed();
  window->session().SetMonthRow(1, true);  // October
  StoppedScheduler scheduler;
  QString waitedFor;
  // Each dialog by its name: the group's progress may or may not be the active one.
  const auto answer = [&](QWidget* dialog) {
    const QString name = dialog->objectName();
    if (name == "groupPrintQuestion") {
      qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
    } else if (name == "pausedQueueQuestion") {
      scheduler.Stop();
      dialog->findChild<QPushButton*>("sendAnyway")->click();
    } else if (name == "spoolerWait") {
      waitedFor = qobject_cast<QProgressDialog*>(dialog)->labelText();
    } else {
      EXPECT_EQ(name, "groupPrintProgress");
    }
  };
  for (const char* button : {"printButton", "groupPrintButton"}) {
    main_.warnings.clear();
    waitedFor.clear();
    std::filesystem::remove(pdf);
    Heartbeat heartbeat;
    {
      test::ModalScript script(std::vector<test::ModalScript::Step>(6, answer));
      QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    std::printf("stopped after the state question, %s: longest unresponsive stretch: %lld ms\n",
                button, static_cast<long long>(heartbeat.longest()));
    EXPECT_LT(heartbeat.longest(), 500) << button;
    EXPECT_TRUE(waitedFor.contains(QString::fromStdString(queue))) << button;
    ASSERT_EQ(main_.warnings.size(), 1) << button;
    EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8("nem erősítette meg")))
        << main_.warnings[0].toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName)) << button;
    // Running again, the scheduler takes the job, and it is cancelled once handed over.
    scheduler.Resume();
    for (int i = 0; i < 100 && PrinterInHandOver(*printer.Current()); ++i) QTest::qWait(100);
    ASSERT_TRUE(test::WaitForQueue(queue)) << button;
  }
  test::Run("cupsenable " + queue + " 2>&1");
  QTest::qWait(1000);
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName));
}

// The printer chosen in the setup is remembered for the next run. Gone by then (or before the
// first print of a run), no print path falls back to the default printer unasked: the user is
// told which printer is gone and which would print, and nothing reaches a queue or the ledger
// until the user says where the card goes.
TEST_F(SpoolTest, ARememberedPrinterThatIsGoneIsToldAndNothingPrintsUnasked) {
  const std::string plain = SPOOL_QUEUE;
  const std::string card = plain + "-other";
  const auto ledger = dir_ / kPrintLedgerFileName;
  test::Run("lpadmin -p " + card +
            " -v file:///dev/null -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E 2>&1");
  {
    auto window = main_.Open();
    ApplicationPrinter& printer = ApplicationPrinter::Instance();
    printer.ForSetup().setPrinterName(QString::fromStdString(card));
    printer.SetupConfirmed();
    window->reject();  // "Kész": the settings are written
  }
  EXPECT_NE(test::ReadText(dir_ / "velunorh.INI").find("[Printer]\nName=" + card),
            std::string::npos);

  ApplicationPrinter::Instance().Reset();
  {
    auto window = main_.Open();
    QPrinter* printer = ApplicationPrinter::Instance().Current();
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->printerName().toStdString(), card);
    window->reject();
  }

  test::Run("lpadmin -x " + card + " 2>&1");
  ApplicationPrinter::Instance().Reset();
  ASSERT_TRUE(test::WaitForQueue(plain));
  const int before = CompletedJobs(plain);
  auto window = main_.Open();
  window->session().SetMonthRow(1, true);  // October
  QString told;
  const auto cancel = [&told](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), "missingPrinterQuestion");
    told = box->text();
    box->escapeButton()->click();
  };
  const auto all = [](QWidget* dialog) {
    qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
  };
  OptionsDialog::Services services;
  services.workFolder = dir_.path();
  services.showMessage = [this](const QString& text) { main_.warnings << text; };
  struct Path {
    const char* what;
    std::vector<test::ModalScript::Step> answers;
    std::function<void()> press;
  } paths[] = {
      {"Nyomtatás",
       {cancel},
       [&] { QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton); }},
      {"Előnézet",
       {cancel},
       [&] {
         QTest::mouseClick(window->findChild<QPushButton*>("previewButton"), Qt::LeftButton);
       }},
      {"Csoport",
       {all, cancel},
       [&] {
         QTest::mouseClick(window->findChild<QPushButton*>("groupPrintButton"), Qt::LeftButton);
       }},
      {"Próbalap",
       {cancel},
       [&] {
         OptionsDialog options(window->session().Options(), services, window.get());
         options.show();
         QTest::mouseClick(options.findChild<QPushButton*>("calibrationButton"), Qt::LeftButton);
       }},
  };
  for (Path& path : paths) {
    told.clear();
    test::ModalScript script(path.answers);
    path.press();
    EXPECT_EQ(script.answered(), static_cast<int>(path.answers.size())) << path.what;
    EXPECT_TRUE(told.contains(QString::fromStdString(card))) << path.what;
    EXPECT_TRUE(told.contains(QString::fromStdString(plain))) << told.toStdString();
    EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
  }
  EXPECT_TRUE(test::Run("lpstat -o " + plain + " 2>/dev/null").empty());
  EXPECT_EQ(CompletedJobs(plain), before);
  EXPECT_FALSE(std::filesystem::exists(ledger));

  // Told the default printer is wanted, the card goes there, and the next print asks nothing.
  auto* print = window->findChild<QPushButton*>("printButton");
  {
    test::ModalScript instead(
        {[](QWidget* dialog) { dialog->findChild<QPushButton*>("printOnOtherPrinter")->click(); }});
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(instead.answered(), 1);
  }
  ASSERT_TRUE(test::WaitForQueue(plain));
  EXPECT_EQ(CompletedJobs(plain), before + 1);
  EXPECT_TRUE(std::filesystem::exists(ledger));
  {
    test::ModalScript none({});
    window->findChild<QListWidget*>("publisherList")->setCurrentRow(1);
    window->session().SetMonthRow(1, true);
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(none.unexpected(), 0);
  }
  ASSERT_TRUE(test::WaitForQueue(plain));
  EXPECT_EQ(CompletedJobs(plain), before + 2);
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

// "Csoport nyomtatása" of every card, one of which has its header already: the question counts
// the card that only gets new lines apart from the card with lines on it and names those. Left
// out (the default), no word of the printed pages lands where the ledger had one; printed anyway,
// the header goes over itself; cancelled, nothing is sent.
TEST_F(SpoolTest, TheGroupPrintAsksBeforeInkGoesOverInk) {
  const std::string queue = SPOOL_QUEUE;
  const std::filesystem::path pdf = SPOOL_PDF;
  ASSERT_TRUE(test::WaitForQueue(queue));
  auto overlaps = [](const test::PdfWord& a, const test::PdfWord& b) {
    return a.xMin < b.xMax && b.xMin < a.xMax && a.yMin < b.yMax && b.yMin < a.yMax;
  };
  struct Case {
    const char* button;  // of the question; null: "Mégse"
    int pages;
    bool annaHeaderAgain;
  };
  for (const Case& c : {Case{"overprintLeaveOut", 2, false}, Case{"overprintPrintAnyway", 2, true},
                        Case{nullptr, 0, false}}) {
    SCOPED_TRACE(c.button ? c.button : "cancel");
    std::filesystem::remove(dir_ / kPrintLedgerFileName);
    auto window = main_.Open();  // October reported; the header box ticked
    window->findChild<QListWidget*>("publisherList")->setCurrentRow(0);  // Anna
    std::filesystem::remove(pdf);
    QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
    ASSERT_TRUE(test::WaitForQueue(queue));
    const auto header = test::ReadPdfWords(pdf);
    ASSERT_EQ(header.size(), 1u);
    ASSERT_NE(test::FindWord(header[0], "Anna"), nullptr);

    window->session().SetMonthRow(1, true);  // October, as well as the header
    window->session().SetPrintHeader(true);
    const int jobs = CompletedJobs(queue);
    std::filesystem::remove(pdf);
    QString question;
    test::ModalScript script(
        {[](QWidget* dialog) {
           qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
         },
         [&](QWidget* dialog) {
           auto* box = qobject_cast<QMessageBox*>(dialog);
           ASSERT_NE(box, nullptr);
           EXPECT_EQ(box->objectName(), "overprintQuestion");
           question = box->text();
           if (c.button)
             box->findChild<QPushButton*>(c.button)->click();
           else
             box->escapeButton()->click();
         },
         [](QWidget*) {}});  // the progress runs its course
    QTest::mouseClick(window->findChild<QPushButton*>("groupPrintButton"), Qt::LeftButton);
    EXPECT_GE(script.answered(), 2);
    EXPECT_TRUE(question.startsWith(QString::fromUtf8("1 kártyára csak új sor kerül, 1 kártyán")))
        << question.toStdString();
    EXPECT_TRUE(question.contains(QString::fromUtf8("Anna Kovács: Fejléc")))
        << question.toStdString();
    ASSERT_TRUE(test::WaitForQueue(queue));
    if (c.pages == 0) {
      EXPECT_EQ(CompletedJobs(queue), jobs);
      continue;
    }
    const auto pages = test::ReadPdfWords(pdf);
    ASSERT_EQ(pages.size(), static_cast<std::size_t>(c.pages));
    EXPECT_NE(test::FindWord(pages[0], "12"), nullptr);  // Anna's October
    EXPECT_NE(test::FindWord(pages[1], "Béla"), nullptr);
    bool inkOverInk = false;
    for (const auto& word : pages[0].words)
      for (const auto& before : header[0].words) inkOverInk = inkOverInk || overlaps(word, before);
    EXPECT_EQ(inkOverInk, c.annaHeaderAgain);
    EXPECT_EQ(test::FindWord(pages[0], "Anna") != nullptr, c.annaHeaderAgain);
  }
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

// Every box unticked (as "Esedékes" leaves a card with nothing due): no print path feeds a
// blank card through the printer; each says there is nothing to print.
TEST_F(SpoolTest, APageWithNothingOnItIsNotSent) {
  const std::string queue = SPOOL_QUEUE;
  ASSERT_TRUE(test::WaitForQueue(queue));
  const int before = CompletedJobs(queue);
  auto window = main_.Open();
  window->session().SetPrintHeader(false);
  for (int row = 0; row < 12; ++row) window->session().SetMonthRow(row, false);
  window->session().SetPrintTotal(false);
  ASSERT_FALSE(window->session().CardPageHasAnything());
  const auto all = [](QWidget* dialog) {
    qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
  };
  struct Path {
    const char* button;
    std::vector<test::ModalScript::Step> answers;
  } paths[] = {{"printButton", {}},
               {"previewButton", {}},
               {"groupPrintButton", {all, [](QWidget*) {}}}};  // the question, then the progress
  for (const Path& path : paths) {
    main_.warnings.clear();
    test::ModalScript script(path.answers);
    QTest::mouseClick(window->findChild<QPushButton*>(path.button), Qt::LeftButton);
    EXPECT_EQ(script.unexpected(), 0) << path.button;
    ASSERT_EQ(main_.warnings.size(), 1) << path.button;
    EXPECT_TRUE(main_.warnings[0].contains("nincs mit nyomtatni")) << path.button;
  }
  // Enter on a month box presses the default button, "Nyomtatás".
  main_.warnings.clear();
  auto* october = window->findChild<QCheckBox*>("monthBox1");
  october->setFocus();
  QTest::keyClick(october, Qt::Key_Return);
  EXPECT_EQ(main_.warnings.size(), 1);
  EXPECT_TRUE(test::Run("lpstat -o " + queue + " 2>/dev/null").empty());
  EXPECT_EQ(CompletedJobs(queue), before);
  EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName));
}

// The two print paths besides "Nyomtatás" through the real queue, read back from its PDF: the
// print from the preview, and the group print of due lines only. A due-only print the queue
// refuses leaves the ledger file byte for byte as it was.
TEST_F(SpoolTest, ThePreviewAndTheDueOnlyPrintGoThroughTheQueueAndAFailedOneRecordsNothing) {
  const std::string queue = SPOOL_QUEUE;
  const std::filesystem::path pdf = SPOOL_PDF;
  const auto ledger = dir_ / kPrintLedgerFileName;
  ASSERT_TRUE(test::WaitForQueue(queue));
  auto window = main_.Open();              // Anna first; October reported
  window->session().SetMonthRow(1, true);  // October, without the header

  std::filesystem::remove(pdf);
  {
    test::ModalScript preview(
        {[](QWidget* dialog) { dialog->findChild<QAction*>("previewPrintAction")->trigger(); }});
    QTest::mouseClick(window->findChild<QPushButton*>("previewButton"), Qt::LeftButton);
    ASSERT_EQ(preview.answered(), 1);
  }
  ASSERT_TRUE(test::WaitForQueue(queue));
  auto pages = test::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_NE(test::FindWord(pages[0], "12"), nullptr);
  EXPECT_EQ(test::FindWord(pages[0], "Anna"), nullptr);  // the header was not ticked
  const std::string afterPreview = test::ReadText(ledger);
  ASSERT_EQ(PrintLedger::Parse(afterPreview)->size(), 1u);

  // Due now: Anna's header, Béla's header and October.
  const auto dueOnly = [](QWidget* dialog) {
    dialog->findChild<QPushButton*>("groupPrintDueOnly")->click();
  };
  {
    struct Accept {
      std::string queue;
      ~Accept() { test::Run("cupsaccept " + queue + " 2>&1"); }
    } accept{queue};
    test::Run("cupsreject " + queue + " 2>&1");
    test::ModalScript refused({dueOnly});
    QTest::mouseClick(window->findChild<QPushButton*>("groupPrintButton"), Qt::LeftButton);
    ASSERT_EQ(refused.answered(), 1) << main_.warnings.join("; ").toStdString();
    ASSERT_EQ(main_.warnings.size(), 1);
    EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8("nem fogad")))
        << main_.warnings[0].toStdString();
    EXPECT_EQ(test::ReadText(ledger), afterPreview);
  }

  std::filesystem::remove(pdf);
  {
    test::ModalScript due({dueOnly});
    QTest::mouseClick(window->findChild<QPushButton*>("groupPrintButton"), Qt::LeftButton);
    ASSERT_EQ(due.answered(), 1);
  }
  ASSERT_TRUE(test::WaitForQueue(queue));
  pages = test::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_NE(test::FindWord(pages[0], "Anna"), nullptr);
  EXPECT_EQ(test::FindWord(pages[0], "12"), nullptr);  // on Anna's card already
  EXPECT_NE(test::FindWord(pages[1], QString::fromUtf8("Béla").toStdString()), nullptr);
  EXPECT_NE(test::FindWord(pages[1], "12"), nullptr);
  const auto cards = PrintLedger::Parse(test::ReadText(ledger));
  ASSERT_TRUE(cards);
  ASSERT_EQ(cards->size(), 2u);
  for (const auto& [where, record] : *cards) {
    EXPECT_TRUE(record.header.has_value()) << where.second;
    EXPECT_TRUE(record.rows[1].has_value()) << where.second;
  }
  EXPECT_EQ(main_.warnings.size(), 1) << main_.warnings.join("; ").toStdString();
}

}  // namespace
}  // namespace velunorh
