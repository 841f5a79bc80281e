#include "ui/application.h"

#include <filesystem>

#include "app/edition.h"
#include "app/settings_path.h"
#include "app/string_table.h"
#include "app/today.h"
#include "ui/main_window.h"

namespace velunorh {

int RunApplication(const char* argv0) {
  ApplyRuntimeLocale(LoadString(133));
  MainWindow::Options options;
  options.settingsFile = SettingsFile(ProgramPath(argv0 ? argv0 : ""));
  options.workFolder = std::filesystem::current_path();
  options.today = ServiceYearOfToday();
  MainWindow window(options);
  if (window.stopRequested()) return 0;
  window.exec();
  return 0;
}

}  // namespace velunorh
