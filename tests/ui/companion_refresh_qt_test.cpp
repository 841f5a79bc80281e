// The companion program writes its files while this window is open: the window shows and
// prints what they hold now, after the user comes back to it and before every print, with the
// chosen publisher kept though the file moved it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <optional>

#include "dialog_test_support.h"
#include "main_window_fixture.h"
#include "pdf_words.h"
#include "session/print_ledger.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/print/application_printer.h"

namespace velunorh {
namespace {

tools::Publisher Publisher(const std::string& given, const std::string& family, int id) {
  tools::Publisher p;
  p.givenName = given;
  p.familyName = family;
  p.id = id;
  p.dateOfBirth = "03021970";
  p.months[9].newForm = true;  // October
  p.months[9].hours = 10 + id;
  return p;
}

class CompanionRefreshTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_.current.publishers = {Publisher("Anna", "Kovács", 11), Publisher("Béla", "Szabó", 13)};
    data_.current.publishers[1].extensionIndex = 1;
    data_.extensions = {{1, 13, "Szabó Béla Ödön", "", ""}};
    tools::WriteCongregation(data_, dir_.path());
    window_ = main_.Open();  // October reported
    list_ = window_->findChild<QListWidget*>("publisherList");
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  tools::Publisher& Bela() { return data_.current.publishers.back(); }
  // The companion program saves its data: Ádám is entered first in the file, before Béla.
  void CompanionSaves() {
    if (data_.current.publishers.size() == 2)
      data_.current.publishers.insert(data_.current.publishers.begin(),
                                      Publisher("Ádám", "Ács", 12));
    tools::WriteCongregation(data_, dir_.path());
  }
  void ChooseBela() {
    const auto rows = list_->findItems(QString::fromUtf8("Szabó"), Qt::MatchContains);
    ASSERT_EQ(rows.size(), 1);
    list_->setCurrentItem(rows[0]);
  }
  // The user was in the companion program and comes back.
  void ComeBack() {
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QCoreApplication::processEvents();
  }
  // October's hours, as the card shows them.
  std::string OctoberHours() const { return window_->session().Content().rows[1].cells.at(2); }
  // Prints the header and October; the page's words, where this test program can read them.
  std::optional<std::vector<test::PdfWord>> PrintOctober(const std::string& name) {
    for (const char* box : {"monthBox1", "printHeaderBox"}) {
      auto* check = window_->findChild<QCheckBox*>(box);
      if (!check->isChecked())
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    }
    const auto pdf = dir_ / (name + ".pdf");
    test::PrintToPdfFile(pdf);
    QTest::mouseClick(window_->findChild<QPushButton*>("printButton"), Qt::LeftButton);
    std::error_code error;
    EXPECT_GT(std::filesystem::file_size(pdf, error), 0u) << name;
    if (!test::kCanReadPdf) return std::nullopt;
    auto pages = test::ReadPdfWords(pdf);
    EXPECT_EQ(pages.size(), 1u) << name;
    return pages.empty() ? std::vector<test::PdfWord>{} : pages[0].words;
  }
  static bool Has(const std::vector<test::PdfWord>& words, const std::string& text) {
    return std::any_of(words.begin(), words.end(),
                       [&](const test::PdfWord& word) { return word.text == text; });
  }

  test::TempDir dir_;
  tools::Congregation data_;
  test::MainWindowFixture main_{dir_.path()};
  std::unique_ptr<MainWindow> window_;
  QListWidget* list_ = nullptr;
};

TEST_F(CompanionRefreshTest, BackInTheWindowTheNewFiguresShowForTheSamePublisher) {
  ChooseBela();
  ASSERT_EQ(OctoberHours(), "23");
  Bela().months[9].hours = 30;
  data_.extensions[0].fullName = "Szabó Béla Márton";
  CompanionSaves();
  ComeBack();

  EXPECT_EQ(list_->count(), 3);
  ASSERT_NE(list_->currentItem(), nullptr);
  EXPECT_TRUE(list_->currentItem()->text().contains(QString::fromUtf8("Szabó")));
  EXPECT_EQ(OctoberHours(), "30");
  EXPECT_EQ(window_->session().Content().displayName, "Szabó Béla Márton");
  if (const auto words = PrintOctober("after")) {
    EXPECT_TRUE(Has(*words, "30"));
    EXPECT_TRUE(Has(*words, "Márton"));
    EXPECT_FALSE(Has(*words, "23"));
  }
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

// The companion program saved while this window stayed active: "Nyomtatás" reads the files
// first, and the ledger records what the card got.
TEST_F(CompanionRefreshTest, APrintReadsTheFilesFirst) {
  ChooseBela();
  Bela().months[9].hours = 31;
  CompanionSaves();
  if (const auto words = PrintOctober("print")) {
    EXPECT_TRUE(Has(*words, "31"));
    EXPECT_FALSE(Has(*words, "23"));
    EXPECT_TRUE(Has(*words, "Ödön"));
  }
  EXPECT_EQ(OctoberHours(), "31");
  EXPECT_TRUE(window_->session().LedgerRecord() && window_->session().LedgerRecord()->rows[1]);
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

// A publisher file the companion program is replacing (gone or cut short for a moment) leaves
// the figures read before on the screen; the whole file is read once it is there.
TEST_F(CompanionRefreshTest, AFileBeingReplacedKeepsTheFiguresUntilItIsWhole) {
  ChooseBela();
  std::filesystem::remove(dir_ / "tdat7.bin");
  ComeBack();
  EXPECT_EQ(list_->count(), 2);
  EXPECT_EQ(OctoberHours(), "23");
  Bela().months[9].hours = 32;
  CompanionSaves();
  ComeBack();
  EXPECT_EQ(list_->count(), 3);
  EXPECT_EQ(OctoberHours(), "32");
}

}  // namespace
}  // namespace velunorh
