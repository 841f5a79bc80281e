#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

namespace velunorh::test {

// Answers the modal dialogs a call opens, in order: step i gets the i-th dialog that becomes
// the active modal widget. A dialog beyond the script is counted and rejected, so that a test
// never hangs on an unexpected question.
class ModalScript {
 public:
  using Step = std::function<void(QWidget* dialog)>;

  explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(10);
  }

  int answered() const { return next_; }
  int unexpected() const { return unexpected_; }

 private:
  void Poll() {
    QWidget* active = QApplication::activeModalWidget();
    if (!active || active == current_) return;
    current_ = active;
    if (next_ < static_cast<int>(steps_.size())) {
      steps_[next_++](active);
    } else {
      ++unexpected_;
      if (auto* dialog = qobject_cast<QDialog*>(active)) dialog->reject();
    }
  }

  std::vector<Step> steps_;
  QTimer timer_;
  QPointer<QWidget> current_;
  int next_ = 0;
  int unexpected_ = 0;
};

}  // namespace velunorh::test
