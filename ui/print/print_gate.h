#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace velunorh {

// Lets one print command run at a time. The controls that start a print are off while one
// runs, and the presses queued meanwhile (a double click, Enter pressed twice while the window
// was busy) reach them while they are still off: a second press never makes a second job.
class PrintGate {
 public:
  explicit PrintGate(std::vector<QWidget*> controls);

  // Runs `command` unless a print runs already.
  void Run(const std::function<void()>& command);

 private:
  std::vector<QPointer<QWidget>> controls_;
  bool running_ = false;
};

}  // namespace velunorh
