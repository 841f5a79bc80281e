#include <gtest/gtest.h>

#include <QApplication>

// The widgets run on Qt's offscreen platform unless the caller chose another one.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifndef VELUNORH_USE_SYSTEM_PRINTERS
  // Widget tests never reach the machine's printers, whose queues come and go with the spool
  // tests: without a scheduler there is no printer, and print setup offers the PDF file only.
  qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
#endif
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
