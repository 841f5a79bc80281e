#pragma once

#include <QStringList>
#include <chrono>
#include <filesystem>
#include <memory>

#include "ui/main_window.h"

namespace velunorh::test {

// The main window as start-up opens it, on a data folder a test has written: the settings file
// and the stand-in for drive A: in that folder, November 2026 as today (October the month
// reported), and what the window tells the user collected instead of shown in message boxes.
// A test that needs another start (another date, folder or settings file, the real message
// boxes) changes `options` before it makes the window.
class MainWindowFixture {
 public:
  explicit MainWindowFixture(const std::filesystem::path& dataFolder);
  MainWindowFixture(const MainWindowFixture&) = delete;
  MainWindowFixture& operator=(const MainWindowFixture&) = delete;

  // The window made: start-up's questions are asked (a ModalScript answers them), nothing shown.
  std::unique_ptr<MainWindow> Make() const;
  // The window made and shown, its first events handled.
  std::unique_ptr<MainWindow> Open() const;
  // A group print's progress window then shows at its first card, for a test to cancel it.
  void ShowProgressAtOnce() { options.groupProgressDelay = std::chrono::milliseconds(0); }

  MainWindow::Options options;
  // The messages the window gave through `warn`, and the notes through `inform`.
  QStringList warnings;
  QStringList told;
  // Set by a test that expects no message at all: each one then fails it where it is given.
  bool failOnWarning = false;
};

// One publisher with a full name and a sex written into `folder`: every box beside the main
// window's header preview shows, as the window's largest layout needs.
void WriteFullHeaderPublisher(const std::filesystem::path& folder);

}  // namespace velunorh::test
