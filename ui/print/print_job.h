#pragma once

#include <QPrinter>
#include <QString>
#include <functional>

#include "card/surface.h"

namespace velunorh {

enum class PrintOutcome {
  kPrinted,
  kNoPrinter,         // there is no printer at all
  kNoDevice,          // the printer could not be opened for drawing
  kQueueGone,         // the chosen printer's queue no longer exists
  kQueueRefusing,     // the queue exists but takes no jobs
  kPrinterError,      // the printer reported an error while the job was made
  kNotTaken,          // the job was made but the spooler holds no such job
  kNotSent,           // the user chose not to send (a paused queue; "Mégse" while waiting)
  kSpoolerSilent,     // the print system did not answer before the job was handed over
  kJobUnconfirmed,    // handed over, but the print system did not say it took the job
  kNoSpooler,         // the system's print spooler cannot be reached (its library is missing)
  kStillHandingOver,  // a print given up on still hands its job over on the same printer
};

// What a print asks of its caller and tells back, besides its pages.
struct HandOver {
  QString documentName;  // empty: PrintDocumentName
  // Asked when the queue is paused (takes jobs, prints none): true sends the job anyway. Null
  // sends it without asking.
  std::function<bool(const QString& printer)> sendWhilePaused;
  // The window that waits while the print system is asked (null: no progress window shows).
  QWidget* window = nullptr;
  // Set by the print: the spooler's id of the job, to follow it; 0 for a file or when the
  // spooler cannot tell.
  int job = 0;
};

// The question before a job goes to a paused queue, as a message box over `parent`.
std::function<bool(const QString& printer)> AskSendWhilePaused(QWidget* parent);

// Sets a printer up for the card: the document named `documentName` (empty: PrintDocumentName),
// upright, the page's origin at the top-left corner of the printable area, and the printer's
// dots as units. Whatever a dialog changed in the printer, the card is placed the same way.
void PrepareCardPrinter(QPrinter& printer, const QString& documentName = {});

// Draws page after page onto a printer that PrepareCardPrinter set up and that is open for
// drawing (a print, or the print preview's pages).
void DrawPages(QPrinter& printer, QPainter& painter, int pageCount,
               const std::function<void(Surface&, int page)>& drawPage);

// Prints one page on `printer` (null: no printer); `drawPage` draws the card onto it.
PrintOutcome PrintCardPage(QPrinter* printer, std::function<void(Surface&)> drawPage,
                           HandOver* handOver = nullptr);

// Prints `pageCount` pages as one job, page k drawn by drawPage(surface, k). kPrinted only when
// the job went out: written to its file, or taken by the printer's queue. A job for a queue is
// drawn and handed over off the window's thread, and a print given up on runs there to its end:
// `drawPage` must own what it draws, and the printer must live on (PrinterInHandOver).
PrintOutcome PrintCardPages(QPrinter* printer, int pageCount,
                            const std::function<void(Surface&, int page)>& drawPage,
                            HandOver* handOver = nullptr);

// Whether a print given up on still draws on `printer` or hands its job over: nothing else may
// use or change that printer meanwhile.
bool PrinterInHandOver(const QPrinter& printer);

// The message the user sees for an outcome on `printer` ("" when printed).
QString PrintOutcomeMessage(PrintOutcome outcome, const QPrinter* printer = nullptr);

// Whether a job on `printer` writes a file rather than going to a queue.
bool PrintsToFile(const QPrinter& printer);

// Where a job on `printer` goes: the printer's name, or the file it writes.
QString PrintDestination(const QPrinter& printer);

}  // namespace velunorh
