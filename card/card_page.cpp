#include "card/card_page.h"

#include <algorithm>

#include "card/recording_surface.h"

namespace velunorh {

void DrawCardPage(Surface& surface, const CardContent& card, const CardPageInput& input) {
  PrintHeaderBlock(surface, card, input.header);
  PrintMonthlyGrid(surface, card, input.grid);
}

bool CardPagePlacesAnything(const CardContent& card, const CardPageInput& input) {
  RecordingSurface page(600, 600);  // any resolution: only whether a mark is made counts
  DrawCardPage(page, card, input);
  const bool anyText =
      std::any_of(page.texts.begin(), page.texts.end(), [](const RecordingSurface::Text& t) {
        return t.text.find_first_not_of(' ') != std::string::npos;
      });
  return anyText || !page.lines.empty() || !page.rectangles.empty();
}

}  // namespace velunorh
