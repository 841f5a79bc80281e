#include "ui/print/print_job_follower.h"

#include <QCoreApplication>
#include <QPointer>
#include <thread>

#include "ui/print/print_spooler.h"

namespace velunorh {

JobFollower::JobFollower(std::chrono::milliseconds interval,
                         std::function<void(const Job&, SpoolerWatch::Job)> ended, QObject* parent)
    : QObject(parent), ended_(std::move(ended)) {
  timer_.setInterval(interval);
  connect(&timer_, &QTimer::timeout, this, &JobFollower::Ask);
}

void JobFollower::Follow(Job job) {
  if (job.id <= 0 || job.recorded.empty()) return;
  // Kept by an earlier run and sent again meanwhile under its id: followed once.
  for (const Job& followed : jobs_)
    if (followed.printer == job.printer && followed.id == job.id) return;
  jobs_.push_back(std::move(job));
  if (!timer_.isActive()) timer_.start();
}

void JobFollower::Ask() {
  if (asking_) return;
  if (jobs_.empty()) {
    timer_.stop();
    return;
  }
  asking_ = true;
  std::vector<std::pair<std::string, int>> asked;
  for (const Job& job : jobs_) asked.emplace_back(job.printer, job.id);
  // Detached: a spooler that never answers must not hold up the program's exit either. The
  // answer comes back through the event loop, and only while this follower still exists.
  QPointer<JobFollower> self(this);
  std::thread([self, asked] {
    std::vector<int> states;
    for (const auto& [printer, id] : asked)
      states.push_back(
          static_cast<int>(SpoolerWatch::JobState(QString::fromStdString(printer), id)));
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(
          app,
          [self, asked, states] {
            if (self) self->Answered(asked, states);
          },
          Qt::QueuedConnection);
  }).detach();
}

void JobFollower::Answered(const std::vector<std::pair<std::string, int>>& asked,
                           const std::vector<int>& states) {
  asking_ = false;
  for (std::size_t i = 0; i < asked.size(); ++i) {
    const auto state = static_cast<SpoolerWatch::Job>(states[i]);
    if (state == SpoolerWatch::Job::kWaiting) continue;
    const auto it = std::find_if(jobs_.begin(), jobs_.end(), [&](const Job& job) {
      return job.printer == asked[i].first && job.id == asked[i].second;
    });
    if (it == jobs_.end()) continue;
    Job done = std::move(*it);
    jobs_.erase(it);
    ended_(done, state);
  }
  if (jobs_.empty()) timer_.stop();
}

}  // namespace velunorh
