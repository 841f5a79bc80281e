#include "card/layout_step.h"

#include <algorithm>

#include "card/card_layout.h"

namespace velunorh {

std::string HundredthsText(int hundredths) {
  hundredths = std::max(hundredths, 0);
  const int fraction = hundredths % 100;
  return std::to_string(hundredths / 100) + (fraction < 10 ? ".0" : ".") + std::to_string(fraction);
}

std::string StepLayoutValue(std::string_view shown, int direction, int lower, int upper) {
  // A slot typed by hand may read below zero ("0.-5"); a position is never negative.
  int value = std::max(LayoutValueHundredths(shown), 0);
  if (direction < 0 && value > lower) --value;
  if (direction > 0 && value < upper) ++value;
  return HundredthsText(value);
}

}  // namespace velunorh
