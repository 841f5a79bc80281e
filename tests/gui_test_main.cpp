#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The widgets run on Qt's offscreen platform unless the caller chose another one.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
#ifdef SPOOL_CUPS_DIR
  // The spool tests print through the scheduler of their own (the CTest fixture "spool"), never
  // through the machine's: its queue is the default printer.
  setenv("CUPS_SERVER", SPOOL_CUPS_DIR "/cups.sock", 1);
  setenv("PRINTER", SPOOL_QUEUE, 1);
#else
  // Widget tests never reach a printer: without a scheduler there is no printer, and print
  // setup offers the PDF file only.
  setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
