#pragma once

#include <string>

#include "companion/congregation_data.h"
#include "card/surface.h"

namespace velunorh {

// What the header preview reads at paint time.
struct HeaderPreviewInput {
  int slot = 0;  // the selected publisher; below 1 = none
  std::string languageCode = "hun";
  int fontCharset = 0;
  int nameShift = 0;  // string 132: non-zero moves the name further right
  int cardVersion = 0;
  int reportMonth = 0;
  int dateFormat = 0;
  bool lastNameFirst = false;
  bool useFullName = true;
  bool printHeader = true;
  bool printGenderMarks = false;
};

// What painting the header preview decides besides the picture: the texts the header print
// uses, and which of the window's boxes are shown.
struct HeaderPreviewResult {
  std::string nameText;
  std::string mobileText;
  bool fullNameBoxVisible = false;      // box 1010
  bool lastNameFirstBoxVisible = true;  // box 1007
  bool genderBoxVisible = false;        // box 1031
  bool checkGenderBox = false;          // the cz edition ticks box 1031 for a publisher with a sex
};

// Draws the form of the card's header and the publisher's data over it into `client`
// (left, top, right, bottom). Loads the publisher's extension record (the full name).
HeaderPreviewResult DrawHeaderPreview(Surface& surface, const Rect& client, CongregationData& data,
                                      const HeaderPreviewInput& input);

}  // namespace velunorh
