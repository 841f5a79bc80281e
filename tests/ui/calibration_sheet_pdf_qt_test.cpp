// The calibration sheet on paper: the options dialog prints it through QPrinter to a PDF file
// at 600 dpi, and poppler reads back where each cross's name landed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "base/today.h"
#include "card/card_layout.h"
#include "pdf_words.h"
#include "test_support.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/dialog_test_support.h"
#include "ui/options_dialog.h"
#include "ui/print/application_printer.h"

namespace velunorh {
namespace {

using P = HeaderPosition;
using B = BodyValue;

class CalibrationSheetPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplicationPrinter& printer = ApplicationPrinter::Instance();
    printer.Reset();
    QPrinter& pdf = printer.ForSetup();
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(QString::fromStdString((dir_ / "sheet.pdf").string()));
    pdf.setResolution(600);
    printer.SetupConfirmed();
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  std::unique_ptr<OptionsDialog> Open(int version) {
    OptionsValues values;
    values.cardVersion = version;
    values.topMargin = "0.15";
    values.leftMargin = "0.30";
    MakeDefaultLayout(values.layout, version);
    OptionsDialog::Services services;
    services.workFolder = dir_.path();
    services.showMessage = [this](const QString& text) { messages_ << text; };
    auto dialog = std::make_unique<OptionsDialog>(values, services);
    test::ShowActive(*dialog);
    return dialog;
  }

  ScopedToday today_{{2026, 12, 10}};
  test::TempDir dir_;
  QStringList messages_;
};

// Points on a 600 dpi page, as the card's own print test measures them.
double Pt(const std::string& inches) {
  return LayoutValueToDevice(inches, 600) * 72.0 / 600;
}

// Some word with this text whose corner lies at (x, y) within half a point.
bool WordAt(const test::PdfPage& page, const std::string& text, bool rightEnd, double x, double y) {
  for (const auto& w : page.words) {
    if (w.text == text && std::abs((rightEnd ? w.xMax : w.xMin) - x) < 0.5 &&
        std::abs(w.yMin - y) < 0.5)
      return true;
  }
  return false;
}

TEST_F(CalibrationSheetPdfTest, NamesLieBesideTheirCrossesWithTheEditsNotYetSaved) {
  auto dialog = Open(1);  // the older card: six columns
  const CardLayout saved = dialog->values().layout;
  // The mobile telephone moves in the detailed settings; the left margin is typed and the
  // button clicked before the field is left. Neither is saved.
  test::WhenModal<DetailedSettingsDialog>([](DetailedSettingsDialog& d) {
    d.findChild<QLineEdit*>("headerX3")->setText("2.75");
    d.accept();
  });
  test::Click(dialog->findChild<QPushButton*>("detailedButton"));
  auto* leftMargin = dialog->findChild<QLineEdit*>("leftMarginEdit");
  leftMargin->setFocus(Qt::MouseFocusReason);
  leftMargin->selectAll();
  QTest::keyClicks(leftMargin, "0.42");

  auto* button = dialog->findChild<QPushButton*>("calibrationButton");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QString::fromUtf8("Próbalap nyomtatása"));
  EXPECT_EQ(button->accessibleName(), button->text());
  test::Click(button);
  ASSERT_TRUE(messages_.isEmpty()) << messages_.join("; ").toStdString();
  EXPECT_FALSE(std::filesystem::exists(dir_ / LayoutFileName(1)));

  auto pages = test::ReadPdfWords(dir_ / "sheet.pdf");
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(test::PdfTitle(dir_ / "sheet.pdf"), "Próbalap");
  const auto& page = pages[0];
  const CardLayout& layout = dialog->values().layout;
  EXPECT_EQ(layout.X(P::MobileTelephone), "2.75");
  EXPECT_NE(saved.X(P::MobileTelephone), "2.75");

  // A card prints an item at margin + layout value; its name begins 0.03 inch right of and
  // below that point. The grid's names end 0.03 inch left of their column, below the total
  // row, every second column a line of 0.10 inch lower.
  const double left = Pt("0.42"), top = Pt("0.15"), gap = Pt("0.03"), line = Pt("0.10");
  struct Item {
    std::string firstWord;
    P x, y;
  } items[] = {
      {"Név", P::Name, P::Name},
      {"Mobiletelefon", P::MobileTelephone, P::MobileTelephone},
      {"Szül.", P::DateOfBirth, P::DateOfBirth},
      {"Felkent", P::AnointedOrOtherSheep, P::DateImmersed},
      {"[x]", P::Elder, P::Elder},
      {"[x]", P::MinisterialServant, P::MinisterialServant},
  };
  for (const auto& item : items) {
    EXPECT_TRUE(WordAt(page, item.firstWord, false, left + Pt(layout.X(item.x)) + gap,
                       top + Pt(layout.Y(item.y)) + gap))
        << item.firstWord << " " << static_cast<int>(item.x);
  }

  const double gridTop = top + Pt(layout.Body(B::BodyTop));
  const double total =
      gridTop + 12 * (LayoutValueToDevice(layout.Body(B::BodyHeight), 600) / 12) * 72.0 / 600;
  struct Column {
    std::string word;
    B column;
    int line;
  } columns[] = {{"Könyv", B::GridColumn1, 0},
                 {"Füzet", B::GridColumn2, 1},
                 {"Óra", B::GridColumn3, 0},
                 {"BibliaT", B::GridColumn6, 1}};
  for (const auto& c : columns) {
    EXPECT_TRUE(WordAt(page, c.word, true, left + Pt(layout.Body(c.column)) - gap,
                       total + gap + c.line * line))
        << c.word;
  }
  // The remark column is the second reference point: its scales take the space below and
  // right of its cross on the total row, so its name ends left of the cross, a line above.
  EXPECT_TRUE(std::any_of(page.words.begin(), page.words.end(), [&](const test::PdfWord& w) {
    return w.text == "Megjegyzés" &&
           std::abs(w.xMax - (left + Pt(layout.Body(B::GridColumn7)) - gap)) < 0.5 &&
           w.yMax < total - gap - line + 1 && w.yMax > total - gap - line - 2;
  }));
  // The rulers' inch figures stand just right of their ticks, counted from the margins: the
  // across ruler below the crosses, the down ruler right of them.
  auto figure = [&](const std::string& text, auto near) {
    return std::any_of(page.words.begin(), page.words.end(),
                       [&](const test::PdfWord& w) { return w.text == text && near(w); });
  };
  EXPECT_TRUE(figure("1", [&](const test::PdfWord& w) {
    return std::abs(w.xMin - (left + 72 + Pt("0.02"))) < 0.5 && w.yMin > top + 144;
  }));
  EXPECT_TRUE(figure("2", [&](const test::PdfWord& w) {
    return std::abs(w.yMin - (top + 144 + Pt("0.02"))) < 0.5 && w.xMin > left + 5 * 72;
  }));
  // What it was printed with, below the rulers.
  for (const char* word : {"Kártya:", "0.42,", "Nyomtató:", "2026.12.10.", "Olvasás:"})
    EXPECT_TRUE(figure(word, [&](const test::PdfWord& w) { return w.yMin > top + 144; })) << word;
}

TEST_F(CalibrationSheetPdfTest, WithoutAPrinterItSaysSoAsACardPrintDoes) {
  ApplicationPrinter::Instance().Reset();
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a printer";
  auto dialog = Open(0);
  test::Click(dialog->findChild<QPushButton*>("calibrationButton"));
  EXPECT_EQ(messages_, QStringList{"No Printer"});
}

TEST(CalibrationNamesTest, NamesAreTheDetailedSettingsLabelsOfTheCardVersion) {
  struct Case {
    int version;
    B column;
    const char* name;
  } cases[] = {
      {1, B::GridColumn1, "Könyv"},
      {1, B::GridColumn4, "Folyóirat"},
      {1, B::GridColumn6, "BibliaT"},
      {0, B::GridColumn1, "Terjesztések"},
      {0, B::GridColumn2, "Videólejátszások"},
      {0, B::GridColumn4, "UL"},
      {0, B::GridColumn5, "BibliaT"},
      {0, B::GridColumn6, ""},
      {0, B::BodyTop, "Induló hó(szept.)"},
      {0, B::GridColumn7, "Megjegyzés"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DetailedSettingsDialog::FieldNames(c.version).body[static_cast<int>(c.column)],
              c.name)
        << c.version << " " << static_cast<int>(c.column);
  }
  const CalibrationNames names = DetailedSettingsDialog::FieldNames(0);
  EXPECT_EQ(names.header[static_cast<int>(P::Name)], "Név");
  EXPECT_EQ(names.header[static_cast<int>(P::AnointedOrOtherSheep)], "Felkent vagy/M.J.");
  EXPECT_EQ(names.header[static_cast<int>(P::Female)], "[x] Nő");
}

}  // namespace
}  // namespace velunorh
