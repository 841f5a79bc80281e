#include "ui/application.h"

#include "ui/main_window.h"

namespace velunorh {

int RunApplication(const char*) {
  MainWindow window;
  if (window.stopRequested()) return 0;
  window.exec();
  return 0;
}

}  // namespace velunorh
