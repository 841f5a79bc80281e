#pragma once

#include <QPrinter>
#include <functional>

#include "card/surface.h"

class QWidget;

namespace velunorh {

// Qt's print preview of one card, kept to the card: its toolbar has no orientation or page
// setup (they would turn this print and every later one), and its print action, first in the
// toolbar so that it stays in sight at large fonts, runs `print` (the window's own print) and
// closes the preview when that print went out.
// Returns whether it printed.
bool ShowPrintPreview(QWidget* parent, QPrinter& printer,
                      const std::function<void(Surface&)>& drawPage,
                      const std::function<bool()>& print);

}  // namespace velunorh
