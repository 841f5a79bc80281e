#include <gtest/gtest.h>

#include <QApplication>

#include "ui/modal_script.h"
#include "ui/modal_watchdog.h"
#include "ui/print/application_printer.h"
#include "ui/program_style.h"

// The widgets run on Qt's offscreen platform unless the caller chose another one.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef SPOOL_CUPS_DIR
  // The spool tests print through the scheduler of their own (the CTest fixture "spool"), never
  // through the machine's: its queue is the default printer.
  qputenv("CUPS_SERVER", SPOOL_CUPS_DIR "/cups.sock");
  qputenv("PRINTER", SPOOL_QUEUE);
#else
  // Widget tests never reach a printer: without a scheduler there is no printer, and print
  // setup offers the PDF file only.
  qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
#endif
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // The widgets drawn as the program draws them.
  velunorh::InstallProgramStyle();
  // The tests print to the file their print setup names, unless one asks for the file itself.
  velunorh::test::KeepTheSetupsFile keep(
      [] { return velunorh::ApplicationPrinter::Instance().ForSetup().outputFileName(); });
  // A question a test forgot to answer fails that test instead of hanging the run.
  velunorh::test::ModalWatchdog watchdog(std::chrono::seconds(20));
  return RUN_ALL_TESTS();
}
