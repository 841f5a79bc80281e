// Prints a card through the real spooler: the CUPS queue SPOOL_QUEUE is the default printer and
// writes its PDF to SPOOL_PDF (the CTest fixture "spool" sets both up).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "card/card_layout.h"
#include "main_window_fixture.h"
#include "pdf_words.h"
#include "spool/spool_queue.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/print/application_printer.h"

namespace velunorh {
namespace {

using test::WaitForQueue;

tools::Congregation OnePublisher() {
  tools::Congregation c;
  tools::Publisher p;
  p.givenName = "Anna";
  p.familyName = "Kovács";
  p.homeAddress = "Fő utca 12.";
  p.id = 11;
  p.dateImmersed = "05141995";
  p.dateOfBirth = "03021970";
  p.months[9].newForm = true;  // October
  p.months[9].hours = 12;
  p.months[9].quarters = 2;
  p.months[9].placements = 7;
  c.current.publishers = {p};
  return c;
}

TEST(PrintCardSpool, PressingPrintPutsTheCardThroughTheQueue) {
  const std::string queue = SPOOL_QUEUE;
  const std::filesystem::path pdf = SPOOL_PDF;
  std::filesystem::remove(pdf);

  test::TempDir dir;
  tools::WriteCongregation(OnePublisher(), dir.path());
  test::MainWindowFixture main(dir.path());
  auto window = main.Open();  // October reported: rows Sep and Oct

  auto* october = window->findChild<QCheckBox*>("monthBox1");
  QTest::mouseClick(october, Qt::LeftButton, {}, QPoint(8, october->height() / 2));
  auto* header = window->findChild<QCheckBox*>("printHeaderBox");
  QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(8, header->height() / 2));
  ASSERT_TRUE(header->isChecked());
  ApplicationPrinter::Instance().Reset();
  QPrinter* printer = ApplicationPrinter::Instance().Current();
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->printerName().toStdString(), queue);

  QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
  EXPECT_TRUE(main.warnings.isEmpty()) << main.warnings.join("; ").toStdString();
  EXPECT_TRUE(window->findChild<QListWidget*>("publisherList")->hasFocus());
  ASSERT_TRUE(WaitForQueue(queue));
  // The spooler shows the job completed under the document's name, which also reached the file.
  EXPECT_EQ(test::LastCompletedJobName(queue, dir.path()), "Card Header");
  EXPECT_EQ(test::PdfTitle(pdf), "Card Header");

  // The words sit where the layout and the margins put them, from the printable area's corner.
  const QRectF area = printer->pageRect(QPrinter::Point);
  const int dpi = printer->resolution();
  auto points = [&](const std::string& inches, int inchesPerAxis) {
    return LayoutValueToDevice(inches, inchesPerAxis) * 72.0 / dpi;
  };
  auto pages = test::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 1u);
  const CardLayout& layout = window->session().layout();
  const auto* given = test::FindWord(pages[0], "Anna");
  ASSERT_NE(given, nullptr);
  EXPECT_NEAR(given->xMin,
              area.left() + points("0.20", dpi) + points(layout.X(HeaderPosition::Name), dpi), 0.5);
  // Top-aligned text: the word's box begins at the font's ascent above the baseline.
  EXPECT_NEAR(given->yMin, area.top() + points(layout.Y(HeaderPosition::Name), dpi), 0.5);
  const auto* hours = test::FindWord(pages[0], "12.5");
  ASSERT_NE(hours, nullptr);
  EXPECT_NEAR(hours->xMax,
              area.left() + points("0.20", dpi) + points(layout.Body(BodyValue::GridColumn3), dpi),
              0.5);
  const int rowHeight = LayoutValueToDevice(layout.Body(BodyValue::BodyHeight), dpi) / 12;
  EXPECT_NEAR(hours->yMin,
              area.top() + points(layout.Body(BodyValue::BodyTop), dpi) + rowHeight * 72.0 / dpi,
              0.5);  // the October row
  EXPECT_NE(test::FindWord(pages[0], "7"), nullptr);
}

TEST(PrintCardSpool, WithoutAnyPrinterPrintSaysNoPrinter) {
  // A scheduler that does not exist: the program sees no printer at all.
  setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1);
  ApplicationPrinter::Instance().Reset();
  test::TempDir dir;
  tools::WriteCongregation(OnePublisher(), dir.path());
  test::MainWindowFixture main(dir.path());
  auto window = main.Open();
  QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
  EXPECT_EQ(main.warnings, QStringList{"No Printer"});
}

}  // namespace
}  // namespace velunorh
