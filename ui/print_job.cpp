#include "ui/print_job.h"

#include <QGuiApplication>
#include <QPainter>

#include "base/string_table.h"
#include "ui/painter_surface.h"

namespace velunorh {

PrintOutcome PrintCardPage(QPrinter* printer, const std::function<void(Surface&)>& drawPage) {
  if (!printer) return PrintOutcome::kNoPrinter;
  printer->setDocName(QString::fromStdString(LoadString(StringId::PrintDocumentName)));
  printer->setFromTo(0, 0);
  // Coordinates start at the printable area; zero margins are raised to the printer's minimum.
  printer->setFullPage(false);
  printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);

  QPainter painter;
  if (!painter.begin(printer)) return PrintOutcome::kNoDevice;
  PainterSurface surface(painter, printer->logicalDpiX(), printer->logicalDpiY(),
                         QGuiApplication::font());
  drawPage(surface);
  painter.end();
  return PrintOutcome::kPrinted;
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
