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

// Qt's name of an edition's language, for Qt's own dialogs (the print dialog above all).
QString QtLanguage(std::string_view languageCode) {
  static constexpr std::pair<std::string_view, const char*> kLanguages[] = {
      {"hun", "hu"},     {"cz", "cs"},  {"sk", "sk"},  {"polish", "pl"}, {"rom", "ro"},
      {"turkish", "tr"}, {"ell", "el"}, {"rus", "ru"}, {"lt", "lt"},     {"portuguese", "pt"},
  };
  for (const auto& [code, qtName] : kLanguages)
    if (code == languageCode) return qtName;
  return {};
}

// Without a translation for the edition's language Qt's dialogs simply stay in English.
void InstallQtTranslation(const std::string& languageCode) {
  const QString language = QtLanguage(languageCode);
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
