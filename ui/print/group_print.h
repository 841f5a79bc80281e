#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <vector>

#include "session/session.h"

class QPrinter;
class QProgressDialog;
class QWidget;

namespace velunorh {

// Printing the cards of the listed group as one job: the question (every card, or only the
// due lines), the progress, the job and, once it went out, its record in the print ledger.
class GroupPrint {
 public:
  struct Hooks {
    std::function<void(const QString&)> warn;    // a failure the user must know of
    std::function<void(const QString&)> inform;  // where the job went, or that none went
    // Records a job that went out to the printer as its spooler job (0: not known) and shows
    // its marks.
    std::function<void(const std::vector<Session::PrintedPage>&, const QPrinter&, int job)> record;
    // A short group prints without a window flashing up; a long one shows its progress.
    std::chrono::milliseconds progressDelay{400};
  };

  GroupPrint(QWidget* parent, Session& session, Hooks hooks);

  // The whole command. True when a job went out.
  bool Run();

 private:
  enum class Answer { kCancel, kAll, kDueOnly };
  Answer Ask(const Session::GroupPlan& plan, const Session::DueGroupPlan& due);
  bool PrintAll(Session::GroupPlan& plan, const Session::LeaveOut& leaveOut);
  bool PrintAsOneJob(QProgressDialog& progress, const std::vector<Session::PrintedPage>& pages);
  void Prepare(QProgressDialog& progress, int cards);
  bool Cancelled(QProgressDialog& progress);

  QWidget* parent_;
  // Settled once, before the first card is made.
  QPrinter* printer_ = nullptr;
  Session& session_;
  Hooks hooks_;
};

}  // namespace velunorh
