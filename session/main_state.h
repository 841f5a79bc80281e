#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "card/card_layout.h"
#include "companion/congregation_data.h"
#include "session/app_settings.h"
#include "session/card_selection.h"
#include "session/user_prompts.h"

namespace velunorh {

// The state of one run that the session keeps private: the settings, the loaded data, the
// current card layout and the current choice. The steps below work on it.
struct MainState {
  std::filesystem::path settingsFile;
  std::filesystem::path workFolder = ".";  // the layout files lie here
  std::string languageCode = "hun";
  int fontCharset = 0;
  int currentDrive = 3;

  AppSettings settings;
  CongregationData data;
  CardLayout layout;
  bool newFormFlag = false;
  CardSelection selection;

  bool settingsChanged = false;
  bool layoutChanged = false;  // positions edited in this run, which a failed exit save would lose
  bool stopRequested = false;
  bool layoutLoaded = false;  // the exit path saves the layout only once it has been loaded
  // Why the card version's layout file, there at start, could not be read: it may hold the
  // secretary's measured positions, so this run never replaces it. Empty when it was read.
  std::string layoutKeptReason;
  int layoutKeptVersion = 0;
};

// The window's initialisation without its widgets: date, edition, settings, data location,
// data, card version and layout. `today` gives ReportMonth and CurrentYear. When it ends with
// stopRequested the window is never shown (the caller runs the exit path without the layout).
void ReadStateAtStart(MainState& state, const ServiceYear& today, UserPrompts& prompts);

struct ExitReport {
  bool settingsWritten = true;  // true also when nothing needed writing
  std::string settingsError;
  bool layoutWritten = true;
  bool layoutChanged = false;  // positions edited in this run
  // The layout file was there at start but could not be read, and was not replaced: told even
  // without edits, since the cards of this run printed at the default positions.
  bool layoutKept = false;
  std::string layoutError;
  bool printerWritten =
      true;  // not tried (and true) when the settings failed: one file, one message
  std::string printerError;
};

// The layout file of the card version in the working folder, or the default positions when it
// cannot be read (and then the file is kept, and the reason noted for the exit).
void LoadLayoutOfWorkFolder(MainState& state);

// Every file this program writes, for the clean-up of what a save cut short left behind: the
// settings file, the layout file of every card version and the print ledger.
std::vector<std::filesystem::path> FilesThisProgramWrites(const MainState& state);

// The exit path: release the tables, write the settings when changed, write the layout of the
// card version (unless it was never loaded). Failures are reported, never hidden; the window
// tells a failed layout save only when positions edited in this run would be lost
// (layoutChanged): rewriting unchanged values is no loss.
ExitReport WriteStateAtExit(MainState& state);

}  // namespace velunorh
