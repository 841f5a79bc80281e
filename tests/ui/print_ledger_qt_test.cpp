// The print ledger through the real main window printing to PDF: what each kind of print
// records (and a cancelled or failed one does not), "Esedékes" after a restart, the group
// print of due lines only, forgetting a card, and what screen readers hear.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include "base/today.h"
#include "dialog_test_support.h"
#include "main_window_fixture.h"
#include "modal_script.h"
#include "pdf_words.h"
#include "session/print_ledger.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/preview_pane.h"
#include "ui/print/application_printer.h"

namespace velunorh {
namespace {

tools::Publisher Publisher(const std::string& given, const std::string& family, int id) {
  tools::Publisher p;
  p.givenName = given;
  p.familyName = family;
  p.id = id;
  p.dateOfBirth = "03021970";
  for (int month : {8, 9}) {  // September and October
    p.months[month].newForm = true;
    p.months[month].hours = 10 + id;
  }
  return p;
}

class PrintLedgerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::Congregation c;
    c.current.publishers = {Publisher("Anna", "Kovács", 11), Publisher("Béla", "Szabó", 13)};
    tools::WriteCongregation(c, dir_.path());
    main_.ShowProgressAtOnce();
    Open();
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  // Starts the program (again).
  void Open() {
    window_.reset();
    window_ = main_.Open();  // October reported
    list_ = window_->findChild<QListWidget*>("publisherList");
  }
  void PrintTo(const std::filesystem::path& pdf) { test::PrintToPdfFile(pdf); }
  QCheckBox* Box(const char* name) { return window_->findChild<QCheckBox*>(name); }
  void Click(const char* name) {
    QCheckBox* box = Box(name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  }
  void Press(const char* name) {
    QTest::mouseClick(window_->findChild<QPushButton*>(name), Qt::LeftButton);
  }
  // The cards the ledger file holds, by publisher key.
  std::map<std::string, CardRecord> Ledger() {
    std::map<std::string, CardRecord> cards;
    const auto file = dir_ / kPrintLedgerFileName;
    if (!std::filesystem::exists(file)) return cards;
    auto parsed = PrintLedger::Parse(test::ReadText(file));
    EXPECT_TRUE(parsed);
    if (parsed)
      for (auto& [where, record] : *parsed) {
        EXPECT_EQ(where.first, 2026);
        cards[where.second] = record;
      }
    return cards;
  }
  static auto AnswerGroupQuestion(const char* button, QString* question) {
    return [button, question](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      ASSERT_NE(box, nullptr);
      *question = box->text();
      auto* answer = box->findChild<QPushButton*>(button);
      if (!answer) answer = qobject_cast<QPushButton*>(box->button(QMessageBox::Ok));
      ASSERT_NE(answer, nullptr);
      answer->click();
    };
  }

  ScopedToday today_{{2026, 11, 10}};
  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
  std::unique_ptr<MainWindow> window_;
  QListWidget* list_ = nullptr;
};

TEST_F(PrintLedgerWindowTest, APrintRecordsTheRowsItPrintedAndARestartTicksOnlyTheOthers) {
  list_->setCurrentRow(0);
  Click("monthBox0");  // September; the header box goes off
  PrintTo(dir_ / "september.pdf");
  Press("printButton");
  ASSERT_TRUE(std::filesystem::exists(dir_ / "september.pdf"));
  auto cards = Ledger();
  ASSERT_EQ(cards.size(), 1u);
  const CardRecord& anna = cards["id:11"];
  EXPECT_TRUE(anna.rows[0].has_value());
  for (int row = 1; row < 12; ++row) EXPECT_FALSE(anna.rows[row].has_value()) << row;
  EXPECT_FALSE(anna.header.has_value());
  EXPECT_FALSE(anna.total.has_value());
  EXPECT_TRUE(window_->findChild<PreviewPane*>("monthlyPreview")
                  ->accessibleName()
                  .contains(QString::fromUtf8("A kártyán már rajta: Szept")));

  Open();
  list_->setCurrentRow(0);
  EXPECT_FALSE(Box("monthBox0")->isChecked());
  Press("dueButton");
  EXPECT_FALSE(Box("monthBox0")->isChecked());  // on the card already
  EXPECT_TRUE(Box("monthBox1")->isChecked());
  for (int row = 2; row < 12; ++row)
    EXPECT_FALSE(Box(("monthBox" + std::to_string(row)).c_str())->isChecked()) << row;
  EXPECT_TRUE(Box("printHeaderBox")->isChecked());
  EXPECT_FALSE(Box("totalBox")->isChecked());
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();

  // The boxes still behave as before when clicked.
  Click("monthBox0");
  EXPECT_FALSE(Box("printHeaderBox")->isChecked());
}

TEST_F(PrintLedgerWindowTest, ACancelledOrFailedPrintRecordsNothing) {
  list_->setCurrentRow(0);
  Click("monthBox0");
  ApplicationPrinter::Instance().Reset();  // no printer at all
  Press("printButton");
  ASSERT_EQ(main_.warnings.size(), 1);

  PrintTo(dir_ / "cancelled.pdf");
  {
    test::CancelProgressAt cancel(1);
    test::ModalScript script({[](QWidget* dialog) {
      qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
    }});
    Press("groupPrintButton");
    EXPECT_TRUE(cancel.cancelled());
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "cancelled.pdf"));

  // A preview closed without printing.
  PrintTo(dir_ / "preview.pdf");
  {
    test::ModalScript closed({[](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); }});
    Press("previewButton");
    EXPECT_EQ(closed.answered(), 1);
  }
  EXPECT_TRUE(Ledger().empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName));
}

TEST_F(PrintLedgerWindowTest, APrintFromThePreviewIsRecorded) {
  list_->setCurrentRow(1);
  Click("monthBox1");
  PrintTo(dir_ / "preview.pdf");
  test::ModalScript script({[](QWidget* dialog) {
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    preview->updatePreview();
    dialog->findChild<QAction*>("previewPrintAction")->trigger();
  }});
  Press("previewButton");
  auto cards = Ledger();
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_TRUE(cards["id:13"].rows[1].has_value());
  EXPECT_FALSE(cards["id:13"].rows[0].has_value());
}

TEST_F(PrintLedgerWindowTest, TheGroupPrintOfDueLinesSkipsTheCardsWithNothingDue) {
  // Anna's card is complete: the header and both months.
  list_->setCurrentRow(0);
  Click("monthBox0");
  Click("monthBox1");
  Click("printHeaderBox");
  PrintTo(dir_ / "anna.pdf");
  Press("printButton");

  PrintTo(dir_ / "due.pdf");
  QString question;
  {
    test::ModalScript script({AnswerGroupQuestion("groupPrintDueOnly", &question)});
    Press("groupPrintButton");
  }
  EXPECT_TRUE(question.contains(QString::fromUtf8("Csak esedékes: 1 kártya nyomtatása, 1 kimarad")))
      << question.toStdString();
  auto pages = test::ReadPdfWords(dir_ / "due.pdf");
  ASSERT_EQ(pages.size(), 1u);
  bool bela = false;
  for (const auto& word : pages[0].words)
    bela = bela || word.text == QString::fromUtf8("Béla").toStdString();
  EXPECT_TRUE(bela);  // the header was due
  auto cards = Ledger();
  ASSERT_EQ(cards.size(), 2u);
  EXPECT_TRUE(cards["id:13"].header.has_value());
  EXPECT_TRUE(cards["id:13"].rows[0].has_value());
  EXPECT_TRUE(cards["id:13"].rows[1].has_value());

  // Now nothing is due anywhere: the choice cannot be taken.
  QPushButton* dueOnly = nullptr;
  test::ModalScript again({[&](QWidget* dialog) {
    dueOnly = dialog->findChild<QPushButton*>("groupPrintDueOnly");
    ASSERT_NE(dueOnly, nullptr);
    EXPECT_FALSE(dueOnly->isEnabled());
    qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Cancel)->click();
  }});
  Press("groupPrintButton");
  EXPECT_EQ(again.answered(), 1);
}

TEST_F(PrintLedgerWindowTest, ForgettingACardAsksFirstAndThenEverythingIsDueAgain) {
  list_->setCurrentRow(0);
  Click("monthBox0");
  PrintTo(dir_ / "card.pdf");
  Press("printButton");
  ASSERT_EQ(Ledger().size(), 1u);

  QString question;
  {
    test::ModalScript cancelled({[&](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      question = box->text();
      box->button(QMessageBox::Cancel)->click();
    }});
    window_->ForgetCard();
  }
  EXPECT_TRUE(question.contains(QString::fromUtf8("2026/2027"))) << question.toStdString();
  EXPECT_EQ(Ledger().size(), 1u);

  test::ModalScript confirmed({[](QWidget* dialog) {
    qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
  }});
  window_->ForgetCard();
  EXPECT_TRUE(Ledger().empty());
  Click("monthBox0");  // off again
  Press("dueButton");
  EXPECT_TRUE(Box("monthBox0")->isChecked());
  EXPECT_TRUE(Box("monthBox1")->isChecked());
}

// October corrected in the companion program after it was printed: back in the window the row
// shows as changed, and once corrected on the card by hand and confirmed it is on the card.
TEST_F(PrintLedgerWindowTest, ARowCorrectedByHandIsConfirmedAsOnTheCard) {
  list_->setCurrentRow(0);
  Click("monthBox1");
  PrintTo(dir_ / "october.pdf");
  Press("printButton");
  tools::Congregation c;
  c.current.publishers = {Publisher("Anna", "Kovács", 11), Publisher("Béla", "Szabó", 13)};
  c.current.publishers[0].months[9].hours = 29;
  tools::WriteCongregation(c, dir_.path());
  QWidget elsewhere;
  elsewhere.show();
  elsewhere.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QCoreApplication::processEvents();
  auto* months = window_->findChild<PreviewPane*>("monthlyPreview");
  EXPECT_TRUE(months->accessibleName().contains(QString::fromUtf8("Nyomtatás óta változott: Okt")))
      << months->accessibleName().toStdString();

  window_->ConfirmCorrectedByHand();
  EXPECT_TRUE(months->accessibleName().contains(QString::fromUtf8("A kártyán már rajta: Okt")))
      << months->accessibleName().toStdString();
  EXPECT_FALSE(window_->session().HasChangedItems());
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

// October raised in the companion program after it was printed: where the preview shows the
// row's "!", its tooltip and what screen readers hear say what changed.
TEST_F(PrintLedgerWindowTest, AChangedRowTellsWhatChangedSinceItWasPrinted) {
  tools::Congregation c;
  c.current.publishers = {Publisher("Anna", "Kovács", 11), Publisher("Béla", "Szabó", 13)};
  c.current.publishers[0].months[9].hours = 24;
  c.current.publishers[0].months[9].quarters = 3;
  tools::WriteCongregation(c, dir_.path());
  Open();
  list_->setCurrentRow(0);
  Click("monthBox1");
  PrintTo(dir_ / "october.pdf");
  Press("printButton");
  auto* months = window_->findChild<PreviewPane*>("monthlyPreview");
  EXPECT_EQ(months->toolTip(), QString::fromUtf8("A kártyán már rajta: Okt."));

  c.current.publishers[0].months[9].hours = 29;
  tools::WriteCongregation(c, dir_.path());
  QWidget elsewhere;
  elsewhere.show();
  elsewhere.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QCoreApplication::processEvents();
  const QString told = QString::fromUtf8("Nyomtatás óta változott: Okt: Óra 24.75 → 29.75.");
  EXPECT_EQ(months->toolTip(), told);
  EXPECT_TRUE(months->accessibleName().contains(told)) << months->accessibleName().toStdString();
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

TEST_F(PrintLedgerWindowTest, AnUnreadableLedgerPrintsAsBeforeAndIsToldOnce) {
  std::filesystem::create_directory(dir_ / kPrintLedgerFileName);
  Open();
  // Told at start, before any print, and "Esedékes" cannot be pressed.
  ASSERT_EQ(main_.warnings.size(), 1) << main_.warnings.join("; ").toStdString();
  list_->setCurrentRow(0);
  EXPECT_FALSE(window_->findChild<QPushButton*>("dueButton")->isEnabled());
  Click("monthBox0");
  for (const char* name : {"one.pdf", "two.pdf"}) {
    PrintTo(dir_ / name);
    Press("printButton");
    EXPECT_EQ(test::ReadPdfWords(dir_ / name).size(), 1u) << name;
  }
  ASSERT_EQ(main_.warnings.size(), 1) << main_.warnings.join("; ").toStdString();
  EXPECT_TRUE(
      main_.warnings[0].contains(QString::fromStdString((dir_ / kPrintLedgerFileName).string())));
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / kPrintLedgerFileName));
}

// The user mends the ledger elsewhere (a share mounted, a permission given) and comes back to
// the window: "Esedékes" is offered again without a restart.
TEST_F(PrintLedgerWindowTest, ALedgerMadeReadableAgainIsUsedWhenTheUserComesBack) {
  std::filesystem::create_directory(dir_ / kPrintLedgerFileName);
  Open();
  list_->setCurrentRow(0);
  auto* due = window_->findChild<QPushButton*>("dueButton");
  ASSERT_FALSE(due->isEnabled());

  std::filesystem::remove(dir_ / kPrintLedgerFileName);
  QWidget elsewhere;
  elsewhere.show();
  elsewhere.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QCoreApplication::processEvents();
  EXPECT_TRUE(due->isEnabled());
  EXPECT_EQ(main_.warnings.size(), 1) << main_.warnings.join("; ").toStdString();

  Click("monthBox0");
  PrintTo(dir_ / "card.pdf");
  Press("printButton");
  EXPECT_EQ(Ledger().size(), 1u);
}

}  // namespace
}  // namespace velunorh
