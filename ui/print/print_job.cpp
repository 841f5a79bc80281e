#include "ui/print/print_job.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

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

namespace {

// The printers that a print given up on still draws on, until its worker ends.
std::mutex handOverMutex;
std::vector<const QPrinter*> printersInHandOver;

void MarkInHandOver(const QPrinter* printer, bool inHandOver) {
  const std::lock_guard<std::mutex> lock(handOverMutex);
  if (inHandOver)
    printersInHandOver.push_back(printer);
  else
    printersInHandOver.erase(
        std::find(printersInHandOver.begin(), printersInHandOver.end(), printer));
}

}  // namespace

bool PrinterInHandOver(const QPrinter& printer) {
  const std::lock_guard<std::mutex> lock(handOverMutex);
  return std::find(printersInHandOver.begin(), printersInHandOver.end(), &printer) !=
         printersInHandOver.end();
}

PrintOutcome PrintCardPages(QPrinter* printer, int pageCount,
                            const std::function<void(Surface&, int page)>& drawPage,
                            HandOver* handOver) {
  HandOver none;
  HandOver& job = handOver ? *handOver : none;
  job.job = 0;
  if (!printer) return PrintOutcome::kNoPrinter;
  if (PrinterInHandOver(*printer)) return PrintOutcome::kStillHandingOver;
  PrepareCardPrinter(*printer, job.documentName);
  if (PrintsToFile(*printer)) {
    // A file is checked by its writing; no print system is asked.
    QPainter painter;
    if (!painter.begin(printer)) return PrintOutcome::kNoDevice;
    DrawPages(*printer, painter, pageCount, drawPage);
    const bool ended = painter.end();
    if (!ended || printer->printerState() == QPrinter::Error) return PrintOutcome::kPrinterError;
    return PrintOutcome::kPrinted;
  }
  // Qt hands the job to the spooler and says nothing of its fate: the queue is asked before
  // and after, off the window's thread.
  auto spooler = std::make_shared<std::optional<SpoolerWatch>>();
  const QString name = printer->printerName();
  const QString waiting = Text(StringId::SpoolerWaitLabel).arg(name);
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

  // The painter's end hands the job over (cupsPrintFile), which waits for a print system that
  // may have stopped since it answered: drawn and handed over off the window's thread too.
  struct Handed {
    bool opened = false;
    bool ended = false;
    int taken = 0;
  };
  auto handed = std::make_shared<Handed>();
  const QString title = printer->docName();
  MarkInHandOver(printer, true);
  const SpoolerWait sent = WaitForSpooler(
      job.window, waiting,
      [printer, pageCount, drawPage, spooler, handed, title] {
        QPainter painter;
        if (painter.begin(printer)) {
          handed->opened = true;
          DrawPages(*printer, painter, pageCount, drawPage);
          handed->ended = painter.end() && printer->printerState() != QPrinter::Error;
          if (handed->ended) handed->taken = (*spooler)->TakenJob(title);
        }
        MarkInHandOver(printer, false);
      },
      // Given up on, a job the spooler took after all is cancelled: it must not print
      // unrecorded.
      [handed, name] {
        if (handed->taken > 0) SpoolerWatch::CancelJob(name, handed->taken);
      });
  if (sent != SpoolerWait::kAnswered) return PrintOutcome::kJobUnconfirmed;
  if (!handed->opened) return PrintOutcome::kNoDevice;
  if (!handed->ended) return PrintOutcome::kPrinterError;
  job.job = handed->taken;
  if (job.job == 0) return PrintOutcome::kNotTaken;
  return PrintOutcome::kPrinted;
}

PrintOutcome PrintCardPage(QPrinter* printer, std::function<void(Surface&)> drawPage,
                           HandOver* handOver) {
  return PrintCardPages(
      printer, 1, [drawPage = std::move(drawPage)](Surface& surface, int) { drawPage(surface); },
      handOver);
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
    case PrintOutcome::kStillHandingOver:
      return Text(StringId::PrintStillHandingOver).arg(where);
    case PrintOutcome::kPrinted:
    case PrintOutcome::kNotSent:  // the user's own choice: nothing to tell
      break;
  }
  return {};
}

}  // namespace velunorh
