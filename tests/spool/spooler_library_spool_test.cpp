// The spooler's library is opened by the first print that asks the queue, not at start: linked,
// it pulled a score of libraries (TLS, Kerberos, Avahi) into every start.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <string>

#include "main_window_fixture.h"
#include "spool/spool_queue.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/print/application_printer.h"
#include "ui/print/cups_library.h"

namespace velunorh {
namespace {

bool SpoolerLibraryLoaded() {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.find("/libcups.so") != std::string::npos) return true;
  return false;
}

TEST(SpoolerLibrarySpool, OpenedAtTheFirstPrintNotAtStart) {
  if (SpoolerLibraryLoaded()) GTEST_SKIP() << "an earlier test of this process printed";
  test::TempDir dir;
  tools::Congregation congregation;
  tools::Publisher publisher;
  publisher.givenName = "Anna";
  publisher.familyName = "Kovács";
  publisher.id = 11;
  congregation.current.publishers = {publisher};
  tools::WriteCongregation(congregation, dir.path());
  test::MainWindowFixture main(dir.path());
  auto window = main.Open();
  EXPECT_FALSE(SpoolerLibraryLoaded());

  auto* header = window->findChild<QCheckBox*>("printHeaderBox");
  if (!header->isChecked())
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(8, header->height() / 2));
  ASSERT_TRUE(header->isChecked());
  ApplicationPrinter::Instance().Reset();
  QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
  EXPECT_TRUE(main.warnings.isEmpty()) << main.warnings.join("; ").toStdString();
  ASSERT_TRUE(test::WaitForQueue(SPOOL_QUEUE));
  EXPECT_TRUE(SpoolerLibraryLoaded());
}

TEST(SpoolerLibrarySpool, ALibraryThatCannotBeOpenedGivesNone) {
  EXPECT_EQ(OpenCupsLibrary("libvelunorh-no-such-library.so.2"), nullptr);
  // A library without the spooler's functions is no spooler either.
  EXPECT_EQ(OpenCupsLibrary("libm.so.6"), nullptr);
  const CupsLibrary* cups = Cups();
  ASSERT_NE(cups, nullptr);
  EXPECT_EQ(Cups(), cups);  // opened once for the run
}

}  // namespace
}  // namespace velunorh
