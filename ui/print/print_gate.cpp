#include "ui/print/print_gate.h"

#include <QCoreApplication>

namespace velunorh {

PrintGate::PrintGate(std::vector<QWidget*> controls)
    : controls_(controls.begin(), controls.end()) {}

void PrintGate::Run(const std::function<void()>& command) {
  if (running_) return;
  running_ = true;
  std::vector<bool> enabled;
  for (const QPointer<QWidget>& control : controls_) {
    enabled.push_back(control && control->isEnabled());
    if (control) control->setEnabled(false);
  }
  command();
  QCoreApplication::processEvents();
  for (std::size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i]) controls_[i]->setEnabled(enabled[i]);
  running_ = false;
}

}  // namespace velunorh
