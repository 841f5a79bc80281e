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
  // What became of a job: still to print (pending, held, printing, or the spooler did not
  // answer), printed, cancelled or aborted, or no longer known to the spooler.
  enum class Job { kWaiting, kCompleted, kCancelled, kUnknown };

  // Looks at the queue before a job is drawn.
  explicit SpoolerWatch(const QString& printerName);

  Queue queue() const { return queue_; }
  // After the painter ended: the id of the queue's new job of that title; 0 when it holds
  // none; -1 for a job taken that the spooler does not list (it cannot be followed).
  int TakenJob(const QString& title) const;

  // Whether the spooler knows a queue of that name ("queue/instance" as Qt names an instance);
  // false too when the spooler cannot be reached.
  static bool Knows(const QString& printerName);
  // The system's default queue; empty when there is none or the spooler cannot be reached.
  static QString DefaultPrinter();

  static Job JobState(const QString& printerName, int jobId);
  // Cancels a job the user gave up on, so that it does not print unrecorded later.
  static void CancelJob(const QString& printerName, int jobId);

 private:
  QString printer_;
  Queue queue_ = Queue::kReady;
  int newestJobBefore_ = 0;
};

}  // namespace velunorh
