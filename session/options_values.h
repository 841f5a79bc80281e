#pragma once

#include <filesystem>
#include <string>

#include "card/card_layout.h"
#include "session/printer_margins.h"

namespace velunorh {

// What the options dialog shows and edits: the session's values when it opens, handed back on
// OK (Session::Options, Session::ApplyOptions).
struct OptionsValues {
  int dateFormat = 0;  // 0..3; another stored value checks no radio and stays unless one is clicked
  int cardVersion = 0;
  std::string topMargin = "0.00";
  std::string leftMargin = "0.20";
  CardLayout layout;                 // the working layout of the card version
  PrinterMarginBook printerMargins;  // another printer chosen brings its own margins

  bool operator==(const OptionsValues&) const = default;
};

// The layout file of a card version in the working folder.
std::filesystem::path LayoutFile(const std::filesystem::path& workFolder, int version);

// What the user is told when a layout could not be saved to `file`.
std::string LayoutNotSavedMessage(const std::filesystem::path& file, const std::string& error);

// The options dialog's switch to another card version: the layout being edited is saved as its
// version's file, then `version` becomes the values' version with its layout read from its file
// (its defaults when there is none). Returns the message to show when the save failed, "" else.
std::string SwitchCardVersion(const std::filesystem::path& workFolder, OptionsValues& values,
                              int version);

}  // namespace velunorh
