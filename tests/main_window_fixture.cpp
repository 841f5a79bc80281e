#include "main_window_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>

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

}  // namespace velunorh::test
