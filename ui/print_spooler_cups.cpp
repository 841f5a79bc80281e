#include "ui/cups_library.h"
#include "ui/print_spooler.h"

namespace velunorh {
namespace {

// The queue's name without an instance ("queue/instance"), as the spooler knows it.
QByteArray QueueName(const QString& printerName) {
  return printerName.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
}

// The highest job id the queue holds, completed ones included; -1 when it cannot be asked.
int NewestJob(const CupsLibrary& cups, const QByteArray& queue, const QString& title, bool titled) {
  cups_job_t* jobs = nullptr;
  const int count =
      cups.cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 0, CUPS_WHICHJOBS_ALL);
  if (count < 0) return -1;
  int newest = 0;
  for (int i = 0; i < count; ++i) {
    if (titled && QString::fromUtf8(jobs[i].title) != title) continue;
    if (jobs[i].id > newest) newest = jobs[i].id;
  }
  cups.cupsFreeJobs(count, jobs);
  return newest;
}

}  // namespace

SpoolerWatch::SpoolerWatch(const QString& printerName) : printer_(printerName) {
  const CupsLibrary* cups = Cups();
  if (!cups) {
    queue_ = Queue::kNoSpooler;
    return;
  }
  const QByteArray queue = QueueName(printerName);
  cups_dest_t* dest = cups->cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
  if (!dest) {
    queue_ = Queue::kGone;
    return;
  }
  const char* accepting =
      cups->cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
  if (accepting && QByteArray(accepting) == "false") queue_ = Queue::kRefusing;
  cups->cupsFreeDests(1, dest);
  newestJobBefore_ = NewestJob(*cups, queue, {}, false);
}

bool SpoolerWatch::JobTaken(const QString& title) const {
  if (queue_ != Queue::kReady) return false;
  return NewestJob(*Cups(), QueueName(printer_), title, true) > newestJobBefore_;
}

}  // namespace velunorh
