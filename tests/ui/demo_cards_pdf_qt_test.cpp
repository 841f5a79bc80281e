// Every card of the demo congregation printed to PDF through the main window, in both card
// versions and two sets of choices, read back word by word and compared with the words and
// positions kept in tests/golden/demo_cards_words.txt. A change to the code that moves, adds or
// loses a word on any card fails here. With VELUNORH_WRITE_GOLDEN=1 the test writes the file
// instead (only when a printed card is meant to change).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "dialog_test_support.h"
#include "main_window_fixture.h"
#include "pdf_words.h"
#include "session/print_ledger.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "tools/congregation_description.h"
#include "ui/main_window.h"
#include "ui/print/application_printer.h"

namespace velunorh {
namespace {

struct Choice {
  const char* name;
  const char* settings;  // the settings file's text
  bool previousYear;
};

// The first prints the running year with the full name; the second the previous year with the
// family name first, another date format and the name list sorted by it.
const Choice kChoices[] = {
    {"current", "[Format]\nAlt Date Format=0\nLast Name First=0\n", false},
    {"previous", "[Format]\nAlt Date Format=2\nLast Name First=1\n", true},
};

void ClickBox(MainWindow& window, const char* name) {
  auto* box = window.findChild<QCheckBox*>(name);
  ASSERT_NE(box, nullptr) << name;
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

std::string Words(const std::vector<test::PdfPage>& pages) {
  std::ostringstream out;
  for (const auto& page : pages) {
    for (const auto& w : page.words) {
      char line[512];
      std::snprintf(line, sizeof line, "%s %.1f %.1f %.1f %.1f\n", w.text.c_str(), w.xMin, w.yMin,
                    w.xMax, w.yMax);
      out << line;
    }
  }
  return out.str();
}

std::string PrintEveryCard(const test::TempDir& dir, const Choice& choice, int cardVersion) {
  std::ostringstream out;
  // Each pass prints on fresh cards: the ledger of the pass before would ask about every line.
  std::filesystem::remove(dir / kPrintLedgerFileName);
  test::WriteText(dir / "velunorh.INI", std::string(choice.settings) +
                                            "Card Version=" + std::to_string(cardVersion) +
                                            "\n[Margins]\nTop=0.15\nLeft=0.30\n");
  test::MainWindowFixture main(dir.path());
  main.options.today = ServiceYear::FromDate(2026, 9);  // August reported: every month of the year
  auto window = main.Open();
  if (choice.previousYear) ClickBox(*window, "previousYearBox");

  auto* list = window->findChild<QListWidget*>("publisherList");
  for (int row = 0; row < list->count(); ++row) {
    list->setCurrentRow(row);
    for (int month = 0; month < 12; ++month) {
      auto* box = window->findChild<QCheckBox*>(QString("monthBox%1").arg(month));
      if (box->isEnabled() && !box->isChecked()) ClickBox(*window, qPrintable(box->objectName()));
    }
    auto* total = window->findChild<QCheckBox*>("totalBox");
    if (total->isEnabled() && !total->isChecked()) ClickBox(*window, "totalBox");
    if (!window->findChild<QCheckBox*>("printHeaderBox")->isChecked())
      ClickBox(*window, "printHeaderBox");
    if (!window->findChild<QCheckBox*>("genderMarksBox")->isChecked())
      ClickBox(*window, "genderMarksBox");
    QApplication::processEvents();

    const auto pdf = dir / "card.pdf";
    std::filesystem::remove(pdf);
    test::PrintToPdfFile(pdf);
    QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);

    out << "== " << choice.name << " version " << cardVersion << " row " << row << ": "
        << list->item(row)->text().toStdString() << "\n";
    if (std::filesystem::exists(pdf)) out << Words(test::ReadPdfWords(pdf));
  }
  EXPECT_TRUE(main.warnings.isEmpty()) << main.warnings.join("; ").toStdString();
  return out.str();
}

TEST(DemoCardsPdf, EveryCardPrintsTheWordsKeptForIt) {
  test::TempDir dir;
  tools::WriteCongregation(tools::ReadCongregationFile(std::filesystem::path(VELUNORH_SOURCE_DIR) /
                                                       "tools/demo_congregation.txt"),
                           dir.path());
  std::string all;
  for (const Choice& choice : kChoices)
    for (int version : {0, 1}) all += PrintEveryCard(dir, choice, version);
  ApplicationPrinter::Instance().Reset();

  const auto golden =
      std::filesystem::path(VELUNORH_SOURCE_DIR) / "tests/golden/demo_cards_words.txt";
  if (const char* write = std::getenv("VELUNORH_WRITE_GOLDEN"); write && *write == '1') {
    std::filesystem::create_directories(golden.parent_path());
    std::ofstream(golden, std::ios::binary) << all;
    GTEST_SKIP() << "wrote " << golden;
  }
  const std::string expected = test::ReadText(golden);
  ASSERT_FALSE(expected.empty()) << golden;
  if (all == expected) return;
  // Name the first line that differs rather than printing thousands.
  std::istringstream a(all), e(expected);
  std::string got, want;
  for (int line = 1;; ++line) {
    const bool moreGot = static_cast<bool>(std::getline(a, got));
    const bool moreWant = static_cast<bool>(std::getline(e, want));
    if (!moreGot && !moreWant) break;
    if (got != want || moreGot != moreWant) {
      FAIL() << "line " << line << ": printed \"" << (moreGot ? got : "<end>") << "\", kept \""
             << (moreWant ? want : "<end>") << "\"";
    }
  }
}

}  // namespace
}  // namespace velunorh
