#include "ui/print_spooler.h"

namespace velunorh {

SpoolerWatch::SpoolerWatch(const QString& printerName) : printer_(printerName) {}

bool SpoolerWatch::JobTaken(const QString&) const {
  return queue_ == Queue::kReady;
}

}  // namespace velunorh
