#pragma once

#include <QString>

namespace velunorh {

// What the system's print spooler says of a printer queue around one job: Qt hands a job to
// the spooler and reports nothing of what became of it: CUPS is asked on Linux
// (print_spooler_cups.cpp), the Windows spooler on Windows (print_spooler_windows.cpp).
class SpoolerWatch {
 public:
  // kPaused: the queue takes jobs but holds them (a stopped queue, a paused or offline printer).
  // kNoSpooler: the spooler's library could not be loaded, so nothing can be asked or printed.
  enum class Queue { kReady, kGone, kRefusing, kPaused, kNoSpooler };

  // Looks at the queue before a job is drawn.
  explicit SpoolerWatch(const QString& printerName);

  Queue queue() const { return queue_; }
  // After the painter ended: whether the queue holds a new job of that title.
  bool JobTaken(const QString& title) const;

 private:
  QString printer_;
  Queue queue_ = Queue::kReady;
  int newestJobBefore_ = 0;
};

}  // namespace velunorh
