// The real print path on paper: the main window prints through QPrinter to a PDF file at 600 dpi
// (the print setup's "print to file" choice), and poppler reads back where every word landed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "card/card_layout.h"
#include "main_window_fixture.h"
#include "pdf_words.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/dialog_test_support.h"
#include "ui/main_window.h"
#include "ui/print/application_printer.h"

namespace velunorh {
namespace {

tools::Congregation RichPublisher() {
  tools::Congregation c;
  tools::Publisher p;
  p.givenName = "Béla";
  p.familyName = "Szabó";
  p.homeAddress = "Fő utca 1.";
  p.homeTelephone = "1234567";
  p.mobileTelephone = "06301234567";
  p.dateImmersed = "05141995";
  p.dateOfBirth = "03021970";
  p.anointed = true;
  p.id = 11;
  p.appointment = tools::Appointment::kElder;
  p.sex = tools::Sex::kMale;
  p.months[7].pioneer = tools::Pioneer::kRegular;  // August, the reported month
  auto& september = p.months[8];
  september.newForm = true;
  september.hours = 10;
  september.placements = 5;
  september.pioneer = tools::Pioneer::kAuxiliary;
  auto& october = p.months[9];
  october.newForm = true;
  october.hours = 12;
  october.quarters = 3;
  october.placements = 7;
  october.videoShowings = 2;
  october.returnVisits = 4;
  october.bibleStudies = 1;
  c.current.publishers = {p};
  c.remarks = {{9, 11, "jó munka"}};
  return c;
}

class PrintCardPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::WriteCongregation(RichPublisher(), dir_.path());
    test::WriteText(dir_ / "velunorh.INI", "[Margins]\nTop=0.15\nLeft=0.30\n");
    test::PrintToPdfFile(dir_ / "card.pdf");
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  void Click(MainWindow& window, const char* name) {
    auto* box = window.findChild<QCheckBox*>(name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  }

  test::TempDir dir_;
};

TEST_F(PrintCardPdfTest, EveryWordLandsWhereTheLayoutAndTheMarginsPutIt) {
  test::MainWindowFixture main(dir_.path());
  main.options.today = ServiceYear::FromDate(2026, 9);  // August reported: the whole year
  auto window = main.Open();
  for (const char* box : {"monthBox0", "monthBox1", "totalBox", "printHeaderBox", "genderMarksBox"})
    Click(*window, box);
  QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
  ASSERT_TRUE(main.warnings.isEmpty()) << main.warnings.join("; ").toStdString();

  auto pages = test::ReadPdfWords(dir_ / "card.pdf");
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(test::PdfTitle(dir_ / "card.pdf"), "Card Header");
  const auto& page = pages[0];
  const CardLayout& layout = window->session().layout();
  // Device dots at 600 dpi, then points; the margins are 0.30 in across and 0.15 in down.
  auto pt = [](const std::string& inches) { return LayoutValueToDevice(inches, 600) * 72.0 / 600; };
  const double left = pt("0.30"), top = pt("0.15");

  struct Item {
    std::string word;
    HeaderPosition x, y;
  } items[] = {
      {"Béla", HeaderPosition::Name, HeaderPosition::Name},
      {"Fő", HeaderPosition::HomeAddress, HeaderPosition::HomeAddress},
      {"1234567", HeaderPosition::HomeTelephone, HeaderPosition::HomeTelephone},
      {"06301234567", HeaderPosition::MobileTelephone, HeaderPosition::MobileTelephone},
      {"03/02/1970", HeaderPosition::DateOfBirth, HeaderPosition::DateOfBirth},
      {"05/14/1995", HeaderPosition::DateImmersed, HeaderPosition::DateImmersed},
      {"felkent", HeaderPosition::AnointedOrOtherSheep, HeaderPosition::DateImmersed},
  };
  for (const auto& item : items) {
    const auto* word = test::FindWord(page, item.word);
    ASSERT_NE(word, nullptr) << item.word;
    EXPECT_NEAR(word->xMin, left + pt(layout.X(item.x)), 0.5) << item.word;
    EXPECT_NEAR(word->yMin, top + pt(layout.Y(item.y)), 0.5) << item.word;
  }
  // The marks of the elder, the regular pioneer and the male box.
  for (HeaderPosition mark :
       {HeaderPosition::Elder, HeaderPosition::RegularPioneer, HeaderPosition::Male}) {
    bool found = false;
    for (const auto& w : page.words)
      found |= w.text == "x" && std::abs(w.xMin - (left + pt(layout.X(mark)))) < 0.5 &&
               std::abs(w.yMin - (top + pt(layout.Y(mark)))) < 0.5;
    EXPECT_TRUE(found) << "mark " << static_cast<int>(mark);
  }

  // The grid: figures end at their columns, the remark begins at its column.
  const double gridTop = top + pt(layout.Body(BodyValue::BodyTop));
  const double row = LayoutValueToDevice(layout.Body(BodyValue::BodyHeight), 600) / 12 * 72.0 / 600;
  struct Cell {
    std::string word;
    BodyValue column;
    int row;
    bool rightAligned;
  } cells[] = {
      {"12.75", BodyValue::GridColumn3, 1, true},
      {"Kisegítő", BodyValue::GridColumn7, 0, false},
      {"22.75", BodyValue::GridColumn3, 12, true},
      {"12", BodyValue::GridColumn1, 12, true},
  };
  for (const auto& cell : cells) {
    const auto* word = test::FindWord(page, cell.word);
    ASSERT_NE(word, nullptr) << cell.word;
    double x = left + pt(layout.Body(cell.column));
    EXPECT_NEAR(cell.rightAligned ? word->xMax : word->xMin, x, 0.5) << cell.word;
    EXPECT_NEAR(word->yMin, gridTop + cell.row * row, 0.5) << cell.word;
  }
  EXPECT_NE(test::FindWord(page, "munka"), nullptr);
}

}  // namespace
}  // namespace velunorh
