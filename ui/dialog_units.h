#pragma once

#include <QSizeF>

class QFont;
class QWidget;

namespace velunorh {

// A font's dialog base units in pixels: a quarter of its average character width across and
// an eighth of its height down.
QSizeF DialogBaseUnits(const QFont& font, const QWidget* device);

// How much larger the widget's font is than the font the .ui templates were drawn at (the
// desktop's default font at 96 dpi), across and down.
QSizeF DialogUnitScale(const QWidget* widget);

// DialogUnitScale's vertical factor, exactly 1 at the template's font.
double FontGrowth(const QWidget* widget);

// Scales a dialog laid out from a .ui template by DialogUnitScale: its size, the geometry of
// every control placed by hand, and fonts given in pixels. Call once, right after setupUi, so
// the window grows with the desktop's font and keeps its proportions. Does nothing at the
// template's own font.
void ApplyDialogUnits(QWidget* dialog);

}  // namespace velunorh
