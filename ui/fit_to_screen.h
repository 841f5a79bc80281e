#pragma once

#include <QList>

class QWidget;

namespace velunorh {

// A dialog of fixed control positions that, grown with a large font, is taller or wider than the
// screen gets its controls in a scroll area and a size that fits the screen. The controls keep
// their positions and their tab order.
void ScrollWhenLargerThanScreen(QWidget* dialog);

// A window of fixed control positions that, grown with a large font, is wider or taller than the
// screen fits by drawing its panes smaller, their proportions kept: the panes shrink by one
// factor, the companions that stand beside them (tick boxes along a pane's rows) keep their size
// and move with the part of the pane they stand by, and what stands below or right of them closes
// up. Controls with text keep their size, so nothing needs a scroll bar. Returns the factor, 1
// where the window fits as it is.
double ShrinkPanesToFitScreen(QWidget* window, const QList<QWidget*>& panes,
                              const QList<QWidget*>& companions);

}  // namespace velunorh
