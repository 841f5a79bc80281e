#include "card/card_page.h"

namespace velunorh {

void DrawCardPage(Surface& surface, const CardContent& card, const CardPageInput& input) {
  PrintHeaderBlock(surface, card, input.header);
  PrintMonthlyGrid(surface, card, input.grid);
}

}  // namespace velunorh
