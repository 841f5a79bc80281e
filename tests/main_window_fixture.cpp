#include "main_window_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "tools/companion_writer.h"

namespace velunorh::test {

MainWindowFixture::MainWindowFixture(const std::filesystem::path& dataFolder) {
  options.settingsFile = dataFolder / "velunorh.INI";
  options.workFolder = dataFolder;
  options.floppyFolder = dataFolder / "floppy";
  options.today = ServiceYear::FromDate(2026, 11);
  options.warn = [this](const QString& message) {
    if (failOnWarning) ADD_FAILURE() << message.toStdString();
    warnings << message;
  };
  options.inform = [this](const QString& message) { told << message; };
}

std::unique_ptr<MainWindow> MainWindowFixture::Make() const {
  return std::make_unique<MainWindow>(options);
}

std::unique_ptr<MainWindow> MainWindowFixture::Open() const {
  auto window = Make();
  window->show();
  QApplication::processEvents();
  return window;
}

void WriteFullHeaderPublisher(const std::filesystem::path& folder) {
  tools::Congregation congregation;
  tools::Publisher publisher;
  publisher.givenName = "Anna";
  publisher.familyName = "Kovács";
  publisher.id = 11;
  publisher.extensionIndex = 1;
  publisher.sex = tools::Sex::kFemale;
  congregation.current.publishers = {publisher};
  congregation.extensions = {{1, 11, "Kovácsné Szabó Anna Mária", "", ""}};
  tools::WriteCongregation(congregation, folder);
}

}  // namespace velunorh::test
