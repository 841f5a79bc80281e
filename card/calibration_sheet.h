#pragma once

#include <array>
#include <string>

#include "card/card_layout.h"
#include "card/surface.h"

namespace velunorh {

// The names the user knows the positions by, as the detailed settings show them for the card
// version. An empty name is a field the version does not have: it gets no cross.
struct CalibrationNames {
  std::array<std::string, kHeaderPositionCount> header;
  std::array<std::string, kBodyValueCount> body;
};

struct CalibrationSheetInput {
  std::string leftMargin = "0.00";
  std::string topMargin = "0.00";
  CardLayout layout;
  CalibrationNames names;
  // What the sheet was printed with, noted on it so that a sheet found later still says so.
  std::string cardVersionName;
  std::string printerName;
  std::string date;
};

// A plain-paper page to lay over a real card against the light: a small cross centred exactly
// where each item of the card prints, named in a small font beside it, and inch rulers that
// count from the margins, so how far an item is off can be read off. The rulers run below and
// right of every cross, an inch or more away, so that no cross lies on them (an item at X or
// Y 0.00 sits on the margin line itself). Below the rulers, small: the card version, the
// margins, the printer, the date, and how to read the sheet.
// Items are placed by the same rules as the card's header block and monthly grid.
void PrintCalibrationSheet(Surface& surface, const CalibrationSheetInput& input);

}  // namespace velunorh
