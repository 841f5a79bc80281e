#include "ui/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <filesystem>
#include <string_view>

#include "base/edition.h"
#include "base/settings_path.h"
#include "base/string_table.h"
#include "base/today.h"
#include "ui/main_window.h"

namespace velunorh {
namespace {

// Without a translation for the edition's language Qt's dialogs (the print dialog above all)
// simply stay in English.
void InstallQtTranslation(const std::string& languageCode) {
  const std::string_view iso = IsoLanguage(languageCode);
  const QString language = QString::fromLatin1(iso.data(), static_cast<qsizetype>(iso.size()));
  if (language.isEmpty()) return;
  auto* translator = new QTranslator(qApp);
  if (translator->load("qtbase_" + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace

int RunApplication(const char* argv0) {
  ApplyRuntimeLocale(LoadString(StringId::LanguageCode));
  InstallQtTranslation(LoadString(StringId::LanguageCode));
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
