// The Windows spooler asked through winspool. Run under Wine by tests/windows/spooler_test.sh
// against a CUPS scheduler of its own (Wine's printing maps winspool onto CUPS): each test
// expects the state the script left the queue named by PRINTER in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrinter>

#include "ui/print/print_job.h"
#include "ui/print/print_spooler.h"

namespace velunorh {
namespace {

QString Queue() {
  return qEnvironmentVariable("PRINTER");
}

TEST(WindowsSpooler, AReadyQueueTakesTheJob) {
  ASSERT_FALSE(Queue().isEmpty());
  EXPECT_EQ(SpoolerWatch(Queue()).queue(), SpoolerWatch::Queue::kReady);
  QPrinter printer;
  printer.setPrinterName(Queue());
  ASSERT_EQ(printer.printerName(), Queue());
  HandOver handOver;
  handOver.documentName = "Velunorh spooler test";
  EXPECT_EQ(PrintCardPage(
                &printer, [](Surface&) {}, &handOver),
            PrintOutcome::kPrinted);
  // Taken: listed with its id, or (a spooler that lists no jobs, as Wine's) taken unlisted.
  EXPECT_NE(handOver.job, 0);
}

// Removed before the program started: under Wine the spooler's list of printers is read at
// start, so this is the vanished printer Wine can show.
TEST(WindowsSpooler, ARemovedQueueIsGoneAndTakesNothing) {
  ASSERT_FALSE(Queue().isEmpty());
  const SpoolerWatch watch(Queue());
  EXPECT_EQ(watch.queue(), SpoolerWatch::Queue::kGone);
  EXPECT_EQ(watch.TakenJob("Velunorh spooler test"), 0);
}

}  // namespace
}  // namespace velunorh

// On the platform the caller chose (Windows' own under Wine), with the environment left as it
// is: Wine's printing reads CUPS_SERVER from it.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
