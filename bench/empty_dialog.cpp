// The floor of start-up: a Qt program that shows an empty dialog and ends as soon as it has
// painted, the same way the start-up harness ends.
#include <QApplication>
#include <QDialog>

#include "bench/quit_after_first_paint.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  velunorh::bench::QuitAfterFirstPaint quit("QDialog");
  app.installEventFilter(&quit);
  QDialog dialog;
  dialog.exec();
  return quit.painted() ? 0 : 1;
}
