#pragma once

#include <QPrinter>
#include <functional>

#include "card/surface.h"

namespace velunorh {

enum class PrintOutcome {
  kPrinted,
  kNoPrinter,  // there is no printer at all
  kNoDevice,   // the printer could not be opened for drawing
};

// Prints one page, the document named PrintDocumentName, on `printer` (null: no printer). The
// page's origin is the top-left corner of the printable area and its units are the printer's dots;
// `drawPage` draws the header block and the monthly grid onto it.
PrintOutcome PrintCardPage(QPrinter* printer, const std::function<void(Surface&)>& drawPage);

// The message the user sees for an outcome ("" when printed).
QString PrintOutcomeMessage(PrintOutcome outcome);

}  // namespace velunorh
