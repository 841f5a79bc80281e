// The group print and the remembered printer through the real spooler: the CUPS queue
// SPOOL_QUEUE is the default printer and writes its PDF to SPOOL_PDF (the CTest fixture "spool").
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "session/print_ledger.h"
#include "spool/spool_queue.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/application_printer.h"
#include "ui/main_window.h"
#include "ui/modal_script.h"

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

class SpoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::WriteCongregation(TwoPublishers(), dir_.path());
    ApplicationPrinter::Instance().Reset();
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  std::unique_ptr<MainWindow> Open() {
    MainWindow::Options options;
    options.settingsFile = dir_ / "velunorh.INI";
    options.workFolder = dir_.path();
    options.floppyFolder = dir_ / "floppy";
    options.today = ServiceYear::FromDate(2026, 11);
    options.warn = [this](const QString& m) { warnings_ << m; };
    options.groupProgressDelay = std::chrono::milliseconds(0);  // shown at once, to be cancelled
    auto window = std::make_unique<MainWindow>(options);
    window->show();
    QApplication::processEvents();
    return window;
  }
  static int CompletedJobs(const std::string& queue) {
    const std::string list = test::Run("lpstat -W completed -o " + queue + " 2>/dev/null");
    return static_cast<int>(std::count(list.begin(), list.end(), '\n'));
  }

  test::TempDir dir_;
  QStringList warnings_;
};

TEST_F(SpoolTest, ACancelledGroupPrintLeavesNoJobInTheQueue) {
  const std::string queue = SPOOL_QUEUE;
  ASSERT_TRUE(test::WaitForQueue(queue));
  const int before = CompletedJobs(queue);
  auto window = Open();
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
  EXPECT_TRUE(warnings_.isEmpty()) << warnings_.join("; ").toStdString();
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
  for (const Case& c : cases) {
    test::Run("lpadmin -p " + other +
              " -v file:///dev/null -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E 2>&1");
    warnings_.clear();
    auto window = Open();
    ApplicationPrinter& printer = ApplicationPrinter::Instance();
    printer.ForSetup().setPrinterName(QString::fromStdString(other));
    printer.SetupConfirmed();
    window->session().SetMonthRow(1, true);  // October
    test::Run(c.change + " 2>&1");
    QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
    ASSERT_EQ(warnings_.size(), 1) << c.what;
    EXPECT_TRUE(warnings_[0].contains(QString::fromUtf8(c.says))) << warnings_[0].toStdString();
    EXPECT_TRUE(warnings_[0].contains(QString::fromStdString(other))) << c.what;
    EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName)) << c.what;
    window->reject();
    test::Run("lpadmin -x " + other + " 2>/dev/null");
    ApplicationPrinter::Instance().Reset();
  }

  // The queue takes one job and refuses the next (its quota is spent): Qt reports nothing,
  // and only the first card is recorded.
  test::Run("lpadmin -p " + other +
            " -v file:///dev/null -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E"
            " -o job-quota-period=86400 -o job-k-limit=1 2>&1");
  warnings_.clear();
  auto window = Open();
  ApplicationPrinter::Instance().ForSetup().setPrinterName(QString::fromStdString(other));
  ApplicationPrinter::Instance().SetupConfirmed();
  window->session().SetMonthRow(1, true);
  auto* print = window->findChild<QPushButton*>("printButton");
  QTest::mouseClick(print, Qt::LeftButton);
  EXPECT_TRUE(warnings_.isEmpty()) << warnings_.join("; ").toStdString();
  const std::string recorded = test::ReadText(dir_ / kPrintLedgerFileName);
  window->findChild<QListWidget*>("publisherList")->setCurrentRow(1);
  window->session().SetMonthRow(1, true);
  QTest::mouseClick(print, Qt::LeftButton);
  ASSERT_EQ(warnings_.size(), 1);
  EXPECT_TRUE(warnings_[0].contains(QString::fromUtf8("nem vette át")))
      << warnings_[0].toStdString();
  EXPECT_EQ(test::ReadText(dir_ / kPrintLedgerFileName), recorded);
  window->reject();
  test::Run("lpadmin -x " + other + " 2>/dev/null");
}

TEST_F(SpoolTest, TheChosenPrinterIsUsedAfterARestartUntilItIsGone) {
  const std::string other = std::string(SPOOL_QUEUE) + "-other";
  test::Run("lpadmin -p " + other +
            " -v file:///dev/null -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E 2>&1");
  {
    auto window = Open();
    ApplicationPrinter& printer = ApplicationPrinter::Instance();
    printer.ForSetup().setPrinterName(QString::fromStdString(other));
    printer.SetupConfirmed();
    window->reject();  // "Kész": the settings are written
  }
  EXPECT_NE(test::ReadText(dir_ / "velunorh.INI").find("[Printer]\nName=" + other),
            std::string::npos);

  ApplicationPrinter::Instance().Reset();
  {
    auto window = Open();
    QPrinter* printer = ApplicationPrinter::Instance().Current();
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->printerName().toStdString(), other);
    window->reject();
  }

  // Gone between two runs: the default printer, without a word.
  test::Run("lpadmin -x " + other + " 2>&1");
  ApplicationPrinter::Instance().Reset();
  auto window = Open();
  QPrinter* printer = ApplicationPrinter::Instance().Current();
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->printerName().toStdString(), SPOOL_QUEUE);
  EXPECT_TRUE(warnings_.isEmpty()) << warnings_.join("; ").toStdString();
}

}  // namespace
}  // namespace velunorh
