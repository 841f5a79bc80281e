#pragma once

#include <string>

#include "companion/congregation_data.h"
#include "card/card_layout.h"
#include "card/surface.h"

namespace velunorh {

// What the printed header block reads at the moment of printing.
struct HeaderBlockInput {
  int slot = 0;             // the selected publisher; below 1 = none
  std::string displayName;  // see HeaderDisplayName
  bool printHeader = true;
  bool printGenderMarks = false;
  int reportMonth = 0;  // the pioneer mark looks at this month of the current table only
  int dateFormat = 0;
  std::string languageCode = "hun";
  std::string leftMargin = "0.00";
  std::string topMargin = "0.00";
  CardLayout layout;
};

// Prints the publisher's personal data into the header of the pre-printed card: every item as
// text with its top-left corner at its layout position, in one Arial 10-point font. Draws
// nothing unless printHeader is on.
void PrintHeaderBlock(Surface& surface, const CongregationData& data,
                      const HeaderBlockInput& input);

}  // namespace velunorh
