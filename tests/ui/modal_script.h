#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
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

// Cancels the group print's progress dialog once it has shown a given number of cards made.
class CancelProgressAt : public QObject {
 public:
  explicit CancelProgressAt(int made) : made_(made) { qApp->installEventFilter(this); }
  ~CancelProgressAt() override { qApp->removeEventFilter(this); }
  bool cancelled() const { return cancelled_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* progress = qobject_cast<QProgressDialog*>(watched);
    // Shown at the first card, then repainted as each card is made.
    const bool step = event->type() == QEvent::Show || event->type() == QEvent::Paint;
    if (progress && step && !cancelled_ && progress->isVisible() && progress->value() >= made_) {
      cancelled_ = true;
      progress->cancel();
    }
    return false;
  }

 private:
  int made_;
  bool cancelled_ = false;
};

// Answers the question of every print to a PDF file as a user who keeps the file the print setup
// named: that file is chosen and may be replaced. Lives for a whole test program; a test that
// asks the questions itself holds a Pause meanwhile.
class KeepTheSetupsFile : public QObject {
 public:
  // `setupFile` gives the file to choose (the application printer's, read when asked).
  explicit KeepTheSetupsFile(std::function<QString()> setupFile)
      : setupFile_(std::move(setupFile)) {
    qApp->installEventFilter(this);
  }
  ~KeepTheSetupsFile() override { qApp->removeEventFilter(this); }

  struct Pause {
    Pause() { ++paused_; }
    ~Pause() { --paused_; }
  };

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (paused_ > 0 || event->type() != QEvent::Show) return false;
    if (auto* dialog = qobject_cast<QFileDialog*>(watched);
        dialog && dialog->objectName() == "printFileDialog") {
      const QString file = setupFile_();
      QTimer::singleShot(0, dialog, [dialog, file] {
        dialog->selectFile(file);
        static_cast<QDialog*>(dialog)->accept();
      });
    } else if (auto* box = qobject_cast<QMessageBox*>(watched);
               box && box->objectName() == "printFileReplace") {
      QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
    }
    return false;
  }

 private:
  std::function<QString()> setupFile_;
  static inline int paused_ = 0;
};

}  // namespace velunorh::test
