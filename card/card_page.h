#pragma once

#include "card/card_content.h"
#include "card/header_block_pass.h"
#include "card/monthly_grid_pass.h"
#include "card/surface.h"

namespace velunorh {

// Where and what one printed card puts on the pre-printed form: the header block and the grid.
struct CardPageInput {
  HeaderBlockInput header;
  MonthlyGridInput grid;
};

// One printed card: the same page for a single print, a print from the preview and every page
// of a group print.
void DrawCardPage(Surface& surface, const CardContent& card, const CardPageInput& input);

// Whether DrawCardPage would put any mark on the page: a page without one feeds a card through
// the printer for nothing.
bool CardPagePlacesAnything(const CardContent& card, const CardPageInput& input);

}  // namespace velunorh
