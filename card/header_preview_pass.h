#pragma once

#include <string>

#include "card/card_content.h"
#include "card/card_ledger_view.h"
#include "card/surface.h"

namespace velunorh {

// How the header preview looks besides the card's words.
struct HeaderPreviewInput {
  std::string languageCode = "hun";
  int fontCharset = 0;
  int nameShift = 0;  // string 132: non-zero moves the name further right
  int cardVersion = 0;
  bool printHeader = true;  // the data in black; grey when the header is not printed
  bool printGenderMarks = false;
  HeaderLedgerView ledger;  // whether and when the header was printed on the card
};

// Draws the form of the card's header and the card's header data over it into `client`
// (left, top, right, bottom), and in its top-right corner the ledger's note. Nothing at all
// before a congregation is loaded.
void DrawHeaderPreview(Surface& surface, const Rect& client, const CardContent& card,
                       const HeaderPreviewInput& input);

}  // namespace velunorh
