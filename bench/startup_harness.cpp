// The program's real start-up in the current folder (settings, data location, the whole load,
// the publisher list, the layout and the main window with both previews), ended as soon as the
// main window has painted. Exits 1 when the window never painted.
#include <QApplication>

#include "bench/quit_after_first_paint.h"
#include "ui/application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  velunorh::bench::QuitAfterFirstPaint quit("velunorh::MainWindow");
  app.installEventFilter(&quit);
  velunorh::RunApplication(argv[0]);
  return quit.painted() ? 0 : 1;
}
