#include "ui/print/cups_library.h"
#include "ui/print/print_spooler.h"

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
  // A stopped queue (cupsdisable) still takes jobs and holds them.
  const char* state = cups->cupsGetOption("printer-state", dest->num_options, dest->options);
  if (accepting && QByteArray(accepting) == "false")
    queue_ = Queue::kRefusing;
  else if (state && QByteArray(state) == QByteArray::number(IPP_PSTATE_STOPPED))
    queue_ = Queue::kPaused;
  cups->cupsFreeDests(1, dest);
  newestJobBefore_ = NewestJob(*cups, queue, {}, false);
}

int SpoolerWatch::TakenJob(const QString& title) const {
  if (queue_ == Queue::kGone || queue_ == Queue::kRefusing || queue_ == Queue::kNoSpooler) return 0;
  const int newest = NewestJob(*Cups(), QueueName(printer_), title, true);
  return newest > newestJobBefore_ ? newest : 0;
}

bool SpoolerWatch::Knows(const QString& printerName) {
  const CupsLibrary* cups = Cups();
  if (!cups) return false;
  const QByteArray queue = QueueName(printerName);
  const QByteArray instance = printerName.section(QLatin1Char('/'), 1).toLocal8Bit();
  cups_dest_t* dest = cups->cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(),
                                             instance.isEmpty() ? nullptr : instance.constData());
  if (!dest) return false;
  cups->cupsFreeDests(1, dest);
  return true;
}

QString SpoolerWatch::DefaultPrinter() {
  const CupsLibrary* cups = Cups();
  if (!cups) return {};
  cups_dest_t* dest = cups->cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
  if (!dest) return {};
  QString name = QString::fromLocal8Bit(dest->name);
  if (dest->instance) name += QLatin1Char('/') + QString::fromLocal8Bit(dest->instance);
  cups->cupsFreeDests(1, dest);
  return name;
}

SpoolerWatch::Job SpoolerWatch::JobState(const QString& printerName, int jobId) {
  const CupsLibrary* cups = Cups();
  if (!cups) return Job::kUnknown;
  cups_job_t* jobs = nullptr;
  const int count = cups->cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, QueueName(printerName).constData(),
                                       0, CUPS_WHICHJOBS_ALL);
  // Not answering is not forgetting: asked again later.
  if (count < 0) return Job::kWaiting;
  Job state = Job::kUnknown;
  for (int i = 0; i < count; ++i) {
    if (jobs[i].id != jobId) continue;
    if (jobs[i].state == IPP_JSTATE_COMPLETED)
      state = Job::kCompleted;
    else if (jobs[i].state == IPP_JSTATE_CANCELED || jobs[i].state == IPP_JSTATE_ABORTED)
      state = Job::kCancelled;
    else
      state = Job::kWaiting;
  }
  if (count > 0) cups->cupsFreeJobs(count, jobs);
  return state;
}

void SpoolerWatch::CancelJob(const QString& printerName, int jobId) {
  if (const CupsLibrary* cups = Cups())
    cups->cupsCancelJob2(CUPS_HTTP_DEFAULT, QueueName(printerName).constData(), jobId, 0);
}

}  // namespace velunorh
