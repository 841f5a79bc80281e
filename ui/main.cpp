#include <QApplication>

#include "ui/application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
#ifdef VELUNORH_APP_ID
  QGuiApplication::setDesktopFileName(QStringLiteral(VELUNORH_APP_ID));
#endif
  return velunorh::RunApplication(argv[0]);
}
