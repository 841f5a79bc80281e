#pragma once

class QWidget;

namespace velunorh {

// A dialog of fixed control positions that, grown with a large font, is taller or wider than the
// screen gets its controls in a scroll area and a size that fits the screen. The controls keep
// their positions and their tab order.
void ScrollWhenLargerThanScreen(QWidget* dialog);

}  // namespace velunorh
