#pragma once

#include <string>

#include "card/card_content.h"
#include "card/card_layout.h"
#include "card/surface.h"

namespace velunorh {

// Where and whether the header block prints, besides the card's words.
struct HeaderBlockInput {
  bool printHeader = true;
  bool printGenderMarks = false;
  std::string leftMargin = "0.00";
  std::string topMargin = "0.00";
  CardLayout layout;
};

// Prints the card's header data into the header of the pre-printed card: every item as text
// with its top-left corner at its layout position, in one Arial 10-point font. Draws nothing
// unless printHeader is on.
void PrintHeaderBlock(Surface& surface, const CardContent& card, const HeaderBlockInput& input);

}  // namespace velunorh
