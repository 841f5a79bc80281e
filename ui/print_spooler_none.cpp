#include "ui/print_spooler.h"

namespace velunorh {

SpoolerWatch::SpoolerWatch(const QString& printerName) : printer_(printerName) {}

int SpoolerWatch::TakenJob(const QString&) const {
  return queue_ == Queue::kReady ? 1 : 0;
}

SpoolerWatch::Job SpoolerWatch::JobState(const QString&, int) {
  return Job::kUnknown;
}

void SpoolerWatch::CancelJob(const QString&, int) {}

}  // namespace velunorh
