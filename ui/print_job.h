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

// Sets a printer up for the card: the document named PrintDocumentName, the page's origin at the top-left
// corner of the printable area, and the printer's dots as units.
void PrepareCardPrinter(QPrinter& printer);

// Draws page after page onto a printer that PrepareCardPrinter set up and that is open for
// drawing (a print, or the print preview's pages).
void DrawPages(QPrinter& printer, QPainter& painter, int pageCount,
               const std::function<void(Surface&, int page)>& drawPage);

// Prints one page on `printer` (null: no printer); `drawPage` draws the card onto it.
PrintOutcome PrintCardPage(QPrinter* printer, const std::function<void(Surface&)>& drawPage);

// Prints `pageCount` pages as one job, page k drawn by drawPage(surface, k).
PrintOutcome PrintCardPages(QPrinter* printer, int pageCount,
                            const std::function<void(Surface&, int page)>& drawPage);

// The message the user sees for an outcome ("" when printed).
QString PrintOutcomeMessage(PrintOutcome outcome);

}  // namespace velunorh
