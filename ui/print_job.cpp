#include "ui/print_job.h"

#include <QGuiApplication>
#include <QPainter>

#include "base/string_table.h"
#include "ui/painter_surface.h"

namespace velunorh {

void PrepareCardPrinter(QPrinter& printer) {
  printer.setDocName(QString::fromStdString(LoadString(StringId::PrintDocumentName)));
  printer.setFromTo(0, 0);
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
                            const std::function<void(Surface&, int page)>& drawPage) {
  if (!printer) return PrintOutcome::kNoPrinter;
  PrepareCardPrinter(*printer);
  QPainter painter;
  if (!painter.begin(printer)) return PrintOutcome::kNoDevice;
  DrawPages(*printer, painter, pageCount, drawPage);
  painter.end();
  return PrintOutcome::kPrinted;
}

PrintOutcome PrintCardPage(QPrinter* printer, const std::function<void(Surface&)>& drawPage) {
  return PrintCardPages(printer, 1, [&](Surface& surface, int) { drawPage(surface); });
}

QString PrintOutcomeMessage(PrintOutcome outcome) {
  switch (outcome) {
    case PrintOutcome::kNoPrinter:
      return QString::fromStdString(LoadString(StringId::NoPrinter));
    case PrintOutcome::kNoDevice:
      return QString::fromStdString(LoadString(StringId::NoPrinterDevice));
    case PrintOutcome::kPrinted:
      break;
  }
  return {};
}

}  // namespace velunorh
