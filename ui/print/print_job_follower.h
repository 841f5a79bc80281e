#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <vector>

#include "session/pending_jobs.h"
#include "ui/print/print_spooler.h"

namespace velunorh {

// Follows the jobs handed to the spooler while the program runs (and those an earlier run left
// waiting). A job is recorded once the spooler took it; when the spooler later cancels or aborts
// it (a paused queue emptied, a job deleted), it never reached the card and its record is to be
// taken back. The spooler is asked off the window's thread: an unanswering one never freezes
// the window.
class JobFollower : public QObject {
  Q_OBJECT

 public:
  using Job = PendingJob;

  // `ended` runs on the window's thread for each job that is no longer waiting: printed,
  // cancelled, or no longer known to the spooler.
  JobFollower(std::chrono::milliseconds interval,
              std::function<void(const Job&, SpoolerWatch::Job)> ended, QObject* parent = nullptr);

  void Follow(Job job);
  int following() const { return static_cast<int>(jobs_.size()); }

 private:
  void Ask();
  void Answered(const std::vector<std::pair<std::string, int>>& asked,
                const std::vector<int>& states);

  QTimer timer_;
  std::function<void(const Job&, SpoolerWatch::Job)> ended_;
  std::vector<Job> jobs_;
  bool asking_ = false;  // one question at a time: a slow spooler is not asked twice
};

}  // namespace velunorh
