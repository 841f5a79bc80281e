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
};

// A plain-paper page to lay over a real card against the light: a small cross centred exactly
// where each item of the card prints, named in a small font beside it, and an inch ruler along
// the top and the left starting at the margins, so how far an item is off can be read off.
// Items are placed by the same rules as the card's header block and monthly grid.
void PrintCalibrationSheet(Surface& surface, const CalibrationSheetInput& input);

}  // namespace velunorh
