#include "ui/print_job.h"

#include <QGuiApplication>
#include <QPainter>
#include <optional>

#include "base/string_table.h"
#include "ui/painter_surface.h"
#include "ui/print_spooler.h"
#include "ui/qt_text.h"

namespace velunorh {

bool PrintsToFile(const QPrinter& printer) {
  return printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty();
}

void PrepareCardPrinter(QPrinter& printer, const QString& documentName) {
  printer.setDocName(documentName.isEmpty() ? Text(StringId::PrintDocumentName) : documentName);
  printer.setFromTo(0, 0);
  // The card is upright; a landscape choice left by a dialog would turn every position.
  printer.setPageOrientation(QPageLayout::Portrait);
  // Coordinates start at the printable area; zero margins are raised to the printer's minimum.
  printer.setFullPage(false);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

void DrawPages(QPrinter& printer, QPainter& painter, int pageCount,
               const std::function<void(Surface&, int page)>& drawPage) {
  for (int page = 0; page < pageCount; ++page) {
    if (page > 0) printer.newPage();
    PainterSurface surface(painter, printer.logicalDpiX(), printer.logicalDpiY(),
                           QGuiApplication::font());
    drawPage(surface, page);
  }
}

PrintOutcome PrintCardPages(QPrinter* printer, int pageCount,
                            const std::function<void(Surface&, int page)>& drawPage,
                            const QString& documentName) {
  if (!printer) return PrintOutcome::kNoPrinter;
  PrepareCardPrinter(*printer, documentName);
  const bool toFile = PrintsToFile(*printer);
  // Qt hands the job to the spooler and says nothing of its fate: the queue is asked before
  // and after. A file is checked by its writing.
  std::optional<SpoolerWatch> spooler;
  if (!toFile) {
    spooler.emplace(printer->printerName());
    if (spooler->queue() == SpoolerWatch::Queue::kGone) return PrintOutcome::kQueueGone;
    if (spooler->queue() == SpoolerWatch::Queue::kRefusing) return PrintOutcome::kQueueRefusing;
    if (spooler->queue() == SpoolerWatch::Queue::kNoSpooler) return PrintOutcome::kNoSpooler;
  }
  QPainter painter;
  if (!painter.begin(printer)) return PrintOutcome::kNoDevice;
  DrawPages(*printer, painter, pageCount, drawPage);
  const bool ended = painter.end();
  if (!ended || printer->printerState() == QPrinter::Error) return PrintOutcome::kPrinterError;
  if (spooler && !spooler->JobTaken(printer->docName())) return PrintOutcome::kNotTaken;
  return PrintOutcome::kPrinted;
}

PrintOutcome PrintCardPage(QPrinter* printer, const std::function<void(Surface&)>& drawPage,
                           const QString& documentName) {
  return PrintCardPages(
      printer, 1, [&](Surface& surface, int) { drawPage(surface); }, documentName);
}

QString PrintDestination(const QPrinter& printer) {
  return PrintsToFile(printer) ? printer.outputFileName() : printer.printerName();
}

QString PrintOutcomeMessage(PrintOutcome outcome, const QPrinter* printer) {
  const QString where = printer ? PrintDestination(*printer) : QString();
  switch (outcome) {
    case PrintOutcome::kNoPrinter:
      return Text(StringId::NoPrinter);
    case PrintOutcome::kNoDevice:
      return printer && PrintsToFile(*printer) ? Text(StringId::PrintFileNotWritable).arg(where)
                                               : Text(StringId::PrintDeviceNotOpened).arg(where);
    case PrintOutcome::kQueueGone:
      return Text(StringId::PrintQueueGone).arg(where);
    case PrintOutcome::kQueueRefusing:
      return Text(StringId::PrintQueueRefusing).arg(where);
    case PrintOutcome::kPrinterError:
      return Text(StringId::PrintPrinterError).arg(where);
    case PrintOutcome::kNotTaken:
      return Text(StringId::PrintJobNotTaken).arg(where);
    case PrintOutcome::kNoSpooler:
      return Text(StringId::PrintNoSpooler).arg(where);
    case PrintOutcome::kPrinted:
      break;
  }
  return {};
}

}  // namespace velunorh
