#include "ui/print/print_job.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <memory>
#include <optional>

#include "base/string_table.h"
#include "ui/painter_surface.h"
#include "ui/print/print_spooler.h"
#include "ui/print/spooler_wait.h"
#include "ui/qt_text.h"
#include "ui/show_message.h"

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
                            HandOver* handOver) {
  HandOver none;
  HandOver& job = handOver ? *handOver : none;
  job.job = 0;
  if (!printer) return PrintOutcome::kNoPrinter;
  PrepareCardPrinter(*printer, job.documentName);
  const bool toFile = PrintsToFile(*printer);
  // Qt hands the job to the spooler and says nothing of its fate: the queue is asked before
  // and after, off the window's thread. A file is checked by its writing.
  auto spooler = std::make_shared<std::optional<SpoolerWatch>>();
  const QString name = printer->printerName();
  const QString waiting = Text(StringId::SpoolerWaitLabel).arg(name);
  if (!toFile) {
    const SpoolerWait asked =
        WaitForSpooler(job.window, waiting, [spooler, name] { spooler->emplace(name); });
    if (asked == SpoolerWait::kCancelled) return PrintOutcome::kNotSent;
    if (asked == SpoolerWait::kSilent) return PrintOutcome::kSpoolerSilent;
    const SpoolerWatch::Queue queue = (*spooler)->queue();
    if (queue == SpoolerWatch::Queue::kGone) return PrintOutcome::kQueueGone;
    if (queue == SpoolerWatch::Queue::kRefusing) return PrintOutcome::kQueueRefusing;
    if (queue == SpoolerWatch::Queue::kNoSpooler) return PrintOutcome::kNoSpooler;
    if (queue == SpoolerWatch::Queue::kPaused && job.sendWhilePaused && !job.sendWhilePaused(name))
      return PrintOutcome::kNotSent;
  }
  QPainter painter;
  if (!painter.begin(printer)) return PrintOutcome::kNoDevice;
  DrawPages(*printer, painter, pageCount, drawPage);
  const bool ended = painter.end();
  if (!ended || printer->printerState() == QPrinter::Error) return PrintOutcome::kPrinterError;
  if (!toFile) {
    auto taken = std::make_shared<int>(0);
    const QString title = printer->docName();
    // Given up on, a job the spooler took after all is cancelled: it must not print unrecorded.
    const SpoolerWait asked = WaitForSpooler(
        job.window, waiting, [spooler, taken, title] { *taken = (*spooler)->TakenJob(title); },
        [taken, name] {
          if (*taken > 0) SpoolerWatch::CancelJob(name, *taken);
        });
    if (asked != SpoolerWait::kAnswered) return PrintOutcome::kJobUnconfirmed;
    job.job = *taken;
    if (job.job == 0) return PrintOutcome::kNotTaken;
  }
  return PrintOutcome::kPrinted;
}

PrintOutcome PrintCardPage(QPrinter* printer, const std::function<void(Surface&)>& drawPage,
                           HandOver* handOver) {
  return PrintCardPages(
      printer, 1, [&](Surface& surface, int) { drawPage(surface); }, handOver);
}

std::function<bool(const QString& printer)> AskSendWhilePaused(QWidget* parent) {
  return [parent](const QString& printer) {
    constexpr int kSend = 0, kKeep = 1;
    return AskQuestion(parent, Text(StringId::PrintQueuePausedQuestion).arg(printer),
                       "pausedQueueQuestion",
                       {{Text(StringId::SendAnywayButton), QMessageBox::AcceptRole, "sendAnyway"},
                        {Text(StringId::DoNotSendButton), QMessageBox::RejectRole}},
                       kKeep, kKeep) == kSend;
  };
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
    case PrintOutcome::kSpoolerSilent:
      return Text(StringId::PrintSpoolerSilent)
          .arg(SpoolerWaitLimits::Current().giveUpAfter.count() / 1000)
          .arg(where);
    case PrintOutcome::kJobUnconfirmed:
      return Text(StringId::PrintJobUnconfirmed).arg(where);
    case PrintOutcome::kPrinted:
    case PrintOutcome::kNotSent:  // the user's own choice: nothing to tell
      break;
  }
  return {};
}

}  // namespace velunorh
