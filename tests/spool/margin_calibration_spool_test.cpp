// Calibrating the card on the real spooler, as a user does: print, move the left margin and
// one position in the options, print again and measure, then start the program again and
// find the same card.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cctype>
#include <map>

#include "main_window_fixture.h"
#include "pdf_words.h"
#include "session/print_ledger.h"
#include "spool/spool_queue.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/calibration_dialog.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/dialog_test_support.h"
#include "ui/main_window.h"
#include "ui/modal_script.h"
#include "ui/options_dialog.h"
#include "ui/print/application_printer.h"

namespace velunorh {
namespace {

using test::ControlByName;
using test::PdfWord;

constexpr double kPointsPerInch = 72.0;
constexpr double kPointsPerMm = 72.0 / 25.4;

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
  std::map<std::string, PdfWord> Print(MainWindow& window) { return PrintTo(window, queue_, pdf_); }
  // The same through `queue`, which writes `pdf`; `answers` take the questions the print asks.
  std::map<std::string, PdfWord> PrintTo(MainWindow& window, const std::string& queue,
                                         const std::filesystem::path& pdf,
                                         std::vector<test::ModalScript::Step> answers = {}) {
    EXPECT_EQ(window.session().ForgetCard(), "");
    for (const char* name : {"monthBox1", "printHeaderBox"}) {
      auto* box = window.findChild<QCheckBox*>(name);
      if (!box->isChecked())
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
      EXPECT_TRUE(box->isChecked()) << name;
    }
    std::filesystem::remove(pdf);
    {
      const std::size_t asked = answers.size();
      test::ModalScript script(std::move(answers));
      QTest::mouseClick(window.findChild<QPushButton*>("printButton"), Qt::LeftButton);
      EXPECT_EQ(script.answered(), static_cast<int>(asked));
      EXPECT_EQ(script.unexpected(), 0);
    }
    EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
    EXPECT_TRUE(test::WaitForQueue(queue));
    auto pages = test::ReadPdfWords(pdf);
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

  // The whole page of the last Print.
  test::PdfPage LastPage() {
    auto pages = test::ReadPdfWords(pdf_);
    return pages.empty() ? test::PdfPage{} : pages[0];
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

// Readings typed into "Kalibrálás" move the margins by their mean: every word of the next card
// lands that far from where it was, to a tenth of a millimetre.
TEST_F(MarginCalibrationSpool, ReadingsMoveEveryWordByTheirMean) {
  auto window = main_.Open();
  Print(*window);
  const test::PdfPage before = LastPage();

  // Point 1: 2 mm right, 1 mm down; point 2: 1 mm right, 2 mm down. The mean is 1.5 mm both
  // ways: 6 hundredths of an inch (1.524 mm).
  test::WhenModal<OptionsDialog>([](OptionsDialog& options) {
    test::ShowActive(options);
    test::WhenModal<CalibrationDialog>([](CalibrationDialog& dialog) {
      test::ShowActive(dialog);
      const std::pair<const char*, double> readings[] = {{"point1RightSpin", 2},
                                                         {"point1DownSpin", 1},
                                                         {"point2RightSpin", 1},
                                                         {"point2DownSpin", 2}};
      for (const auto& [name, mm] : readings) {
        auto* spin = ControlByName<QDoubleSpinBox>(&dialog, name);
        spin->setFocus();
        for (int step = 0; step < mm * 2; ++step) QTest::keyClick(spin, Qt::Key_Up);
      }
      ControlByName<QCheckBox>(&dialog, "printAgainBox")->setChecked(false);
      test::Click(ControlByName<QPushButton>(&dialog, "applyButton"));
    });
    test::Click(ControlByName<QPushButton>(&options, "calibrateButton"));
    test::Click(ControlByName<QPushButton>(&options, "okButton"));
  });
  test::Click(window->findChild<QPushButton*>("optionsButton"));
  ASSERT_EQ(window->session().settings().leftMargin, "0.26");
  ASSERT_EQ(window->session().settings().topMargin, "0.06");

  Print(*window);
  const test::PdfPage after = LastPage();
  ASSERT_EQ(after.words.size(), before.words.size());
  ASSERT_GE(after.words.size(), 7u);
  const double offset = 1.5 * kPointsPerMm, tolerance = 0.1 * kPointsPerMm;
  for (std::size_t i = 0; i < after.words.size(); ++i) {
    SCOPED_TRACE(after.words[i].text);
    ASSERT_EQ(after.words[i].text, before.words[i].text);
    EXPECT_NEAR(after.words[i].xMin - before.words[i].xMin, offset, tolerance);
    EXPECT_NEAR(after.words[i].yMin - before.words[i].yMin, offset, tolerance);
  }
}

// The sheet's millimetre scales as printed: each figure centred a whole number of millimetres
// from its zero, and the first point's zero where the card prints the name with the same margins.
TEST_F(MarginCalibrationSpool, TheSheetsScalesAreWhereTheySay) {
  auto window = main_.Open();
  Print(*window);
  const test::PdfPage card = LastPage();
  const test::PdfWord* name = test::FindWord(card, kNameWord);
  ASSERT_NE(name, nullptr);

  std::filesystem::remove(pdf_);
  test::WhenModal<OptionsDialog>([this](OptionsDialog& options) {
    test::ShowActive(options);
    test::Click(ControlByName<QPushButton>(&options, "calibrationButton"));
    EXPECT_TRUE(test::WaitForQueue(queue_));
    test::Click(ControlByName<QPushButton>(&options, "cancelButton"));
  });
  test::Click(window->findChild<QPushButton*>("optionsButton"));
  const test::PdfPage sheet = LastPage();
  ASSERT_FALSE(sheet.words.empty());

  // The scales' figures are the only 3-point numbers: about a millimetre high.
  std::vector<test::PdfWord> figures;
  for (const auto& w : sheet.words)
    if (w.yMax - w.yMin < 1.5 * kPointsPerMm && std::isdigit(static_cast<unsigned char>(w.text[0])))
      figures.push_back(w);
  ASSERT_EQ(figures.size(), 44u);  // four scales of eleven
  auto middleX = [](const test::PdfWord& w) { return (w.xMin + w.xMax) / 2; };
  auto middleY = [](const test::PdfWord& w) { return (w.yMin + w.yMax) / 2; };
  const double tolerance = 0.1 * kPointsPerMm;

  // From each zero, the figures in line with it across (a row) or down (a column).
  std::vector<std::vector<test::PdfWord>> rows, columns;
  for (const auto& zero : figures) {
    if (zero.text != "0") continue;
    std::vector<test::PdfWord> row, column;
    for (const auto& f : figures) {
      const double dx = middleX(f) - middleX(zero), dy = middleY(f) - middleY(zero);
      if (std::abs(dy) < 0.3 * kPointsPerMm && std::abs(dx) < 5.5 * kPointsPerMm) row.push_back(f);
      if (std::abs(dx) < 0.3 * kPointsPerMm && std::abs(dy) < 5.5 * kPointsPerMm)
        column.push_back(f);
    }
    (row.size() > column.size() ? rows : columns)
        .push_back(row.size() > column.size() ? row : column);
  }
  ASSERT_EQ(rows.size(), 2u);
  ASSERT_EQ(columns.size(), 2u);
  for (auto& row : rows) {
    ASSERT_EQ(row.size(), 11u);
    std::sort(row.begin(), row.end(), [&](auto& a, auto& b) { return middleX(a) < middleX(b); });
    for (int k = -5; k <= 5; ++k) {
      const test::PdfWord& f = row[k + 5];
      EXPECT_EQ(f.text, std::to_string(std::abs(k)));
      EXPECT_NEAR(middleX(f) - middleX(row[5]), k * kPointsPerMm, tolerance) << k;
    }
  }
  for (auto& column : columns) {
    ASSERT_EQ(column.size(), 11u);
    std::sort(column.begin(), column.end(),
              [&](auto& a, auto& b) { return middleY(a) < middleY(b); });
    for (int k = -5; k <= 5; ++k) {
      const test::PdfWord& f = column[k + 5];
      EXPECT_EQ(f.text, std::to_string(std::abs(k)));
      EXPECT_NEAR(middleY(f) - middleY(column[5]), k * kPointsPerMm, tolerance) << k;
    }
  }
  // The first point's scales are the ones nearer the page's top left.
  std::sort(rows.begin(), rows.end(),
            [&](auto& a, auto& b) { return middleY(a[0]) < middleY(b[0]); });
  EXPECT_NEAR(middleX(rows[0][5]), name->xMin, tolerance);
}

// Chooses `queue` in the print setup and confirms it.
void ChooseInSetup(QPrintDialog& setup, const std::string& queue) {
  auto* printers = setup.findChild<QComboBox*>("printers");
  ASSERT_NE(printers, nullptr);
  const int row = printers->findText(QString::fromStdString(queue));
  ASSERT_GE(row, 0) << queue;
  printers->setCurrentIndex(row);
  setup.accept();
}

// Two queues with margins of their own, and the remembered printer gone: whichever printer
// takes its place, offered by the question, chosen in the question's print setup or in the
// options' (then cancelled, as the printer stays chosen), prints the card with its own margins,
// and the gone printer's are kept for it.
TEST_F(MarginCalibrationSpool, APrinterInPlaceOfAGoneOneBringsBackItsOwnMargins) {
  const std::string other = queue_ + "-margins";
  const std::filesystem::path otherPdf = pdf_.parent_path() / "margins.pdf";
  test::Run("lpadmin -p " + other + " -v file://" + otherPdf.string() +
            " -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E 2>&1");
  struct RemoveQueue {
    std::string queue;
    ~RemoveQueue() { test::Run("lpadmin -x " + queue + " 2>&1"); }
  } removeQueue{other};
  const auto settings = dir_ / "velunorh.INI";

  test::WriteText(settings, "[Margins]\nTop=0.00\nLeft=0.00\n");
  std::map<std::string, PdfWord> origin;
  {
    auto window = main_.Open();
    origin = Print(*window);
    window->reject();
  }
  ASSERT_EQ(origin.size(), std::size(kOtherWords) + 1);

  const auto offered = [](QWidget* dialog) {
    dialog->findChild<QPushButton*>("printOnOtherPrinter")->click();
  };
  const auto setup = [](QWidget* dialog) {
    dialog->findChild<QPushButton*>("printerSetup")->click();
  };
  const auto chooseOther = [&other](QWidget* dialog) {
    ChooseInSetup(*qobject_cast<QPrintDialog*>(dialog), other);
  };
  const auto inTheOptions = [&other](MainWindow& window) {
    test::WhenModal<OptionsDialog>([&other](OptionsDialog& options) {
      test::WhenModal<QPrintDialog>(
          [&other](QPrintDialog& dialog) { ChooseInSetup(dialog, other); });
      test::Click(ControlByName<QPushButton>(&options, "printerSetupButton"));
      test::Click(ControlByName<QPushButton>(&options, "cancelButton"));
    });
    test::Click(window.findChild<QPushButton*>("optionsButton"));
  };
  struct Case {
    const char* what;
    std::function<void(MainWindow&)> before;
    std::vector<test::ModalScript::Step> answers;
    bool other;  // the second queue prints
    double left, top;
  } cases[] = {
      {"the printer offered", {}, {offered}, false, 0.30, 0.05},
      {"chosen in the question's print setup", {}, {setup, chooseOther}, true, 0.15, 0.25},
      {"chosen in the options, cancelled", inTheOptions, {}, true, 0.15, 0.25},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    ApplicationPrinter::Instance().Reset();
    test::WriteText(settings,
                    "[Margins]\nTop=0.10\nLeft=0.20\nPrinter=Elment\n"
                    "[Printer Margins]\nCount=2\nPrinter1=0.30 0.05 " +
                        queue_ + "\nPrinter2=0.15 0.25 " + other + "\n[Printer]\nName=Elment\n");
    auto window = main_.Open();
    ASSERT_EQ(window->session().settings().leftMargin, "0.20");
    if (c.before) c.before(*window);
    const auto printed = c.other ? PrintTo(*window, other, otherPdf, std::move(c.answers))
                                 : PrintTo(*window, queue_, pdf_, std::move(c.answers));
    ASSERT_EQ(printed.size(), origin.size());
    for (const auto& word : origin)
      ExpectMoved(origin, printed, word.first, c.left, c.top, 0.1 * kPointsPerMm);
    PrinterMarginBook book{c.other ? other : queue_, {{"Elment", {"0.20", "0.10"}}}};
    book.others[c.other ? queue_ : other] =
        c.other ? PrinterMargins{"0.30", "0.05"} : PrinterMargins{"0.15", "0.25"};
    EXPECT_EQ(window->session().settings().printerMargins, book);
    window->reject();
    EXPECT_NE(test::ReadText(settings).find("0.20 0.10 Elment"), std::string::npos);
  }
}

// Choosing a printer in the print setup brings back the margins kept for it; the ones in use
// stay with the printer they were set for.
TEST_F(MarginCalibrationSpool, ThePrintSetupBringsBackThePrintersOwnMargins) {
  OptionsValues values;
  values.topMargin = "0.10";
  values.leftMargin = "0.20";
  values.printerMargins = {"Otthon", {{queue_, {"0.41", "0.07"}}}};
  MakeDefaultLayout(values.layout, 0);
  OptionsDialog::Services services;
  services.workFolder = dir_.path();
  OptionsDialog dialog(values, services);
  test::ShowActive(dialog);
  test::WhenModal<QPrintDialog>([this](QPrintDialog& setup) { ChooseInSetup(setup, queue_); });
  test::Click(ControlByName<QPushButton>(&dialog, "printerSetupButton"));
  EXPECT_EQ(dialog.values().leftMargin, "0.41");
  EXPECT_EQ(dialog.values().topMargin, "0.07");
  EXPECT_EQ(ControlByName<QLineEdit>(&dialog, "leftMarginEdit")->text(), "0.41");
  EXPECT_EQ(dialog.values().printerMargins,
            (PrinterMarginBook{queue_, {{"Otthon", {"0.20", "0.10"}}}}));
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
