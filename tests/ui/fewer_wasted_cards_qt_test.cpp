// The print preview, the group print and what they say when there is nothing to print, through
// the real main window printing to PDF files at 600 dpi and read back with poppler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialog_test_support.h"
#include "modal_script.h"
#include "pdf_words.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/application_printer.h"
#include "ui/main_window.h"

namespace velunorh {
namespace {

tools::Publisher Publisher(const std::string& given, const std::string& family, int id) {
  tools::Publisher p;
  p.givenName = given;
  p.familyName = family;
  p.homeAddress = given + " utca " + std::to_string(id);
  p.id = id;
  p.dateImmersed = "05141995";
  p.dateOfBirth = "03021970";
  p.sex = tools::Sex::kFemale;
  for (int month : {8, 9}) {  // September and October
    p.months[month].newForm = true;
    p.months[month].hours = 10 + id;
    p.months[month].placements = id;
  }
  return p;
}

// Three publishers, the second of them without any name.
tools::Congregation ThreePublishers() {
  tools::Congregation c;
  c.current.publishers = {Publisher("Anna", "Kovács", 11), Publisher("", "", 12),
                          Publisher("Béla", "Szabó", 13)};
  return c;
}

class FewerWastedCardsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::WriteCongregation(ThreePublishers(), dir_.path());
    MainWindow::Options options;
    options.settingsFile = dir_ / "velunorh.INI";
    options.workFolder = dir_.path();
    options.floppyFolder = dir_ / "floppy";
    options.today = ServiceYear::FromDate(2026, 11);  // October reported
    options.warn = [this](const QString& m) { warnings_ << m; };
    window_ = std::make_unique<MainWindow>(options);
    window_->show();
    QApplication::processEvents();
    list_ = window_->findChild<QListWidget*>("publisherList");
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  void PrintTo(const std::filesystem::path& pdf) { test::PrintToPdfFile(pdf); }
  void Click(const char* name) {
    auto* box = window_->findChild<QCheckBox*>(name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  }
  void Press(const char* name) {
    QTest::mouseClick(window_->findChild<QPushButton*>(name), Qt::LeftButton);
  }
  // The months, the total and the header, as a user fills a new card.
  void ChooseEverything() {
    Click("monthBox0");
    Click("monthBox1");
    Click("printHeaderBox");
  }
  // The words of a single print of the list's row.
  std::vector<test::PdfWord> SinglePrint(int row, const std::string& name) {
    list_->setCurrentRow(row);
    const auto pdf = dir_ / (name + ".pdf");
    PrintTo(pdf);
    Press("printButton");
    auto pages = test::ReadPdfWords(pdf);
    EXPECT_EQ(pages.size(), 1u) << name;
    return pages.empty() ? std::vector<test::PdfWord>{} : pages[0].words;
  }
  static void ExpectSameWords(const std::vector<test::PdfWord>& a,
                              const std::vector<test::PdfWord>& b, const std::string& what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(a[i].text, b[i].text) << what;
      EXPECT_NEAR(a[i].xMin, b[i].xMin, 0.5) << what << " " << a[i].text;
      EXPECT_NEAR(a[i].yMin, b[i].yMin, 0.5) << what << " " << a[i].text;
    }
  }

  test::TempDir dir_;
  QStringList warnings_;
  std::unique_ptr<MainWindow> window_;
  QListWidget* list_ = nullptr;
};

TEST_F(FewerWastedCardsTest, PrintingFromThePreviewGivesThePageThatPrintGives) {
  ChooseEverything();
  const auto printed = SinglePrint(0, "printed");
  ASSERT_FALSE(printed.empty());

  const auto fromPreview = dir_ / "preview.pdf";
  PrintTo(fromPreview);
  int pages = 0;
  test::ModalScript script({[&](QWidget* dialog) {
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    pages = preview->pageCount();
    preview->print();
    qobject_cast<QDialog*>(dialog)->accept();
  }});
  Press("previewButton");
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(script.answered(), 1);
  auto read = test::ReadPdfWords(fromPreview);
  ASSERT_EQ(read.size(), 1u);
  ExpectSameWords(read[0].words, printed, "preview");
  EXPECT_EQ(test::PdfTitle(fromPreview), "Card Header");
  EXPECT_TRUE(warnings_.isEmpty()) << warnings_.join("; ").toStdString();
}

TEST_F(FewerWastedCardsTest, ThePreviewSaysSoWhenNothingWouldPrint) {
  list_->setCurrentRow(1);  // the publisher without a name
  test::ModalScript script({});
  Press("previewButton");
  EXPECT_EQ(script.unexpected(), 0);  // no preview opened
  ASSERT_EQ(warnings_.size(), 1);
  EXPECT_TRUE(warnings_[0].contains(QString::fromUtf8("nincs mit nyomtatni")));
}

TEST_F(FewerWastedCardsTest, AGroupPrintIsOneJobWhosePageKIsTheSinglePrintOfPublisherK) {
  ChooseEverything();
  const auto first = SinglePrint(0, "first");
  const auto third = SinglePrint(2, "third");

  const auto group = dir_ / "group.pdf";
  PrintTo(group);
  QString question;
  test::ModalScript script({[&](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    ASSERT_NE(box, nullptr);
    question = box->text();
    box->button(QMessageBox::Ok)->click();
  }});
  Press("groupPrintButton");
  EXPECT_TRUE(question.startsWith(QString::fromUtf8("2 kártya nyomtatása: Összes Hírnőkök?")))
      << question.toStdString();
  EXPECT_TRUE(question.contains(QString::fromUtf8("1 hírnöknek nincs neve")))
      << question.toStdString();
  auto pages = test::ReadPdfWords(group);
  ASSERT_EQ(pages.size(), 2u);
  ExpectSameWords(pages[0].words, first, "page 1");
  ExpectSameWords(pages[1].words, third, "page 2");
  EXPECT_EQ(test::PdfTitle(group), "Card Header");
}

// Cancelled while the cards are made, at the first and at the last: the printer is never opened.
TEST_F(FewerWastedCardsTest, ACancelledGroupPrintPrintsNothing) {
  for (int cancelAt : {0, 1}) {
    const auto group = dir_ / ("group" + std::to_string(cancelAt) + ".pdf");
    PrintTo(group);
    test::CancelProgressAt cancel(cancelAt);
    test::ModalScript script({[](QWidget* dialog) {
      qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
    }});
    Press("groupPrintButton");
    EXPECT_TRUE(cancel.cancelled()) << "cancelled at " << cancelAt;
    EXPECT_FALSE(std::filesystem::exists(group)) << "cancelled at " << cancelAt;
  }
  EXPECT_TRUE(warnings_.isEmpty()) << warnings_.join("; ").toStdString();
}

TEST_F(FewerWastedCardsTest, AnEmptyGroupPrintsNothingAndSaysSo) {
  // The third group holds those not baptized: nobody here.
  for (int i = 0; i < 3; ++i) Press("groupButton");
  ASSERT_EQ(list_->count(), 0);
  const auto group = dir_ / "empty.pdf";
  PrintTo(group);
  test::ModalScript script({});
  Press("groupPrintButton");
  EXPECT_EQ(script.unexpected(), 0);
  EXPECT_FALSE(std::filesystem::exists(group));
  ASSERT_EQ(warnings_.size(), 1);
  EXPECT_TRUE(warnings_[0].contains(QString::fromUtf8("nincs nyomtatható kártya")));
}

TEST_F(FewerWastedCardsTest, WithoutAPrinterThePreviewAndTheGroupSayNoPrinter) {
  ApplicationPrinter::Instance().Reset();  // no scheduler in the widget tests: no printer
  Press("previewButton");
  test::ModalScript script({[](QWidget* dialog) {
    qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
  }});
  Press("groupPrintButton");
  ASSERT_EQ(warnings_.size(), 2);
  EXPECT_EQ(warnings_[0], "No Printer");
  EXPECT_EQ(warnings_[1], "No Printer");
}

}  // namespace
}  // namespace velunorh
