// Calibrating the card on the real spooler, as a user does: print, move the left margin and
// one position in the options, print again and measure, then start the program again and
// find the same card.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <map>

#include "main_window_fixture.h"
#include "pdf_words.h"
#include "session/print_ledger.h"
#include "spool/spool_queue.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/application_printer.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/dialog_test_support.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"

namespace velunorh {
namespace {

using test::ControlByName;
using test::PdfWord;

constexpr double kPointsPerInch = 72.0;

tools::Congregation OnePublisher() {
  tools::Congregation c;
  tools::Publisher p;
  p.givenName = "Anna";
  p.familyName = "Kovács";
  p.homeAddress = "Fő utca 12.";
  p.homeTelephone = "1234567";
  p.mobileTelephone = "06301234567";
  p.id = 11;
  p.dateImmersed = "05141995";
  p.dateOfBirth = "03021970";
  p.months[9].newForm = true;  // October
  p.months[9].hours = 12;
  p.months[9].quarters = 2;
  c.current.publishers = {p};
  return c;
}

// The name, and words of the header and of the grid that only the margin moves.
const char* const kNameWord = "Anna";
const char* const kOtherWords[] = {"Fő",         "1234567",    "06301234567",
                                   "03/02/1970", "05/14/1995", "12.5"};

class MarginCalibrationSpool : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::WriteCongregation(OnePublisher(), dir_.path());
    ApplicationPrinter::Instance().Reset();  // the default printer: the test queue
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  // Prints the header and the October row through the queue, on a fresh card as calibrating
  // takes one card a try; where each word landed.
  std::map<std::string, PdfWord> Print(MainWindow& window) {
    EXPECT_EQ(window.session().ForgetCard(), "");
    for (const char* name : {"monthBox1", "printHeaderBox"}) {
      auto* box = window.findChild<QCheckBox*>(name);
      if (!box->isChecked())
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
      EXPECT_TRUE(box->isChecked()) << name;
    }
    std::filesystem::remove(pdf_);
    QTest::mouseClick(window.findChild<QPushButton*>("printButton"), Qt::LeftButton);
    EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
    EXPECT_TRUE(test::WaitForQueue(queue_));
    auto pages = test::ReadPdfWords(pdf_);
    std::map<std::string, PdfWord> words;
    if (pages.size() != 1) {
      ADD_FAILURE() << pages.size() << " pages";
      return words;
    }
    for (const char* text : kOtherWords) {
      if (const PdfWord* word = test::FindWord(pages[0], text))
        words[text] = *word;
      else
        ADD_FAILURE() << "no " << text;
    }
    if (const PdfWord* name = test::FindWord(pages[0], kNameWord))
      words[kNameWord] = *name;
    else
      ADD_FAILURE() << "no name";
    return words;
  }

  const std::string queue_ = SPOOL_QUEUE;
  const std::filesystem::path pdf_ = SPOOL_PDF;
  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
};

// `word` moved by (dx, dy) inches, to `tolerance` points.
void ExpectMoved(const std::map<std::string, PdfWord>& before,
                 const std::map<std::string, PdfWord>& after, const std::string& word, double dx,
                 double dy, double tolerance = 0.5) {
  if (!before.count(word) || !after.count(word)) return;  // already reported
  EXPECT_NEAR(after.at(word).xMin - before.at(word).xMin, dx * kPointsPerInch, tolerance) << word;
  EXPECT_NEAR(after.at(word).yMin - before.at(word).yMin, dy * kPointsPerInch, tolerance) << word;
}

TEST_F(MarginCalibrationSpool, AMarginAndAPositionMoveTheNextCardAndSurviveARestart) {
  auto window = main_.Open();  // October reported
  const auto first = Print(*window);

  // Left margin 0.20 -> 0.45 in the options; the name 0.22 -> 0.32 down in the detailed ones.
  ASSERT_EQ(window->session().settings().leftMargin, "0.20");
  ASSERT_EQ(window->session().layout().Y(HeaderPosition::Name), "0.22");
  test::WhenModal<OptionsDialog>([](OptionsDialog& options) {
    test::ShowActive(options);
    test::TypeAndTab(ControlByName<QLineEdit>(&options, "leftMarginEdit"), "0.45");
    test::WhenModal<DetailedSettingsDialog>([](DetailedSettingsDialog& detailed) {
      test::ShowActive(detailed);
      test::TypeAndTab(ControlByName<QLineEdit>(&detailed, "headerY0"), "0.32");
      test::Click(ControlByName<QPushButton>(&detailed, "okButton"));
    });
    test::Click(ControlByName<QPushButton>(&options, "detailedButton"));
    test::Click(ControlByName<QPushButton>(&options, "okButton"));
  });
  test::Click(window->findChild<QPushButton*>("optionsButton"));
  ASSERT_EQ(window->session().settings().leftMargin, "0.45");
  ASSERT_EQ(window->session().layout().Y(HeaderPosition::Name), "0.32");

  const auto second = Print(*window);
  ExpectMoved(first, second, kNameWord, 0.25, 0.10);
  for (const char* word : kOtherWords) ExpectMoved(first, second, word, 0.25, 0.0);

  test::Click(window->findChild<QPushButton*>("doneButton"));
  window.reset();
  auto restarted = main_.Open();
  EXPECT_EQ(restarted->session().settings().leftMargin, "0.45");
  const auto third = Print(*restarted);
  constexpr double kSamePlace = 0.01;
  ExpectMoved(second, third, kNameWord, 0.0, 0.0, kSamePlace);
  for (const char* word : kOtherWords) ExpectMoved(second, third, word, 0.0, 0.0, kSamePlace);
}

// The calibration sheet from the options dialog through the real queue: a job of its own name,
// its crosses' names on the page, and neither the layout file nor the ledger written.
TEST_F(MarginCalibrationSpool, TheCalibrationSheetGoesThroughTheQueue) {
  ASSERT_TRUE(test::WaitForQueue(queue_));
  std::filesystem::remove(pdf_);
  OptionsValues values;
  values.topMargin = "0.15";
  values.leftMargin = "0.30";
  MakeDefaultLayout(values.layout, 0);
  QStringList messages;
  OptionsDialog::Services services;
  services.workFolder = dir_.path();
  services.showMessage = [&](const QString& text) { messages << text; };
  OptionsDialog dialog(values, services);
  test::ShowActive(dialog);
  test::Click(dialog.findChild<QPushButton*>("calibrationButton"));
  EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
  ASSERT_TRUE(test::WaitForQueue(queue_));
  EXPECT_EQ(test::LastCompletedJobName(queue_, dir_.path()), "Próbalap");
  const auto pages = test::ReadPdfWords(pdf_);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_NE(test::FindWord(pages[0], "Név"), nullptr);
  EXPECT_FALSE(std::filesystem::exists(dir_ / LayoutFileName(0)));
  EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName));
}

}  // namespace
}  // namespace velunorh
