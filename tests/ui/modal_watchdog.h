#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <map>
#include <string>

namespace velunorh::test {

// A modal dialog no step of a test answers would wait for ever: one still open after `grace` is
// a fault of the test that opened it, reported with its text, and is then rejected. Lives for a
// whole test program.
class ModalWatchdog : public QObject {
 public:
  explicit ModalWatchdog(std::chrono::milliseconds grace) : grace_(grace) {
    qApp->installEventFilter(this);
  }
  ~ModalWatchdog() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog || event->type() != QEvent::Show || !dialog->isModal()) return false;
    // A dialog shown again later is watched from then; an earlier timer sees a new serial.
    const int serial = ++serials_[dialog];
    QPointer<QDialog> guarded(dialog);
    QTimer::singleShot(grace_, this, [this, guarded, serial] {
      if (!guarded || !guarded->isVisible() || serials_[guarded] != serial) return;
      auto* box = qobject_cast<QMessageBox*>(guarded.data());
      ADD_FAILURE() << "a modal dialog no one answered: " << guarded->objectName().toStdString()
                    << " " << (box ? box->text().toStdString() : std::string());
      guarded->reject();
    });
    return false;
  }

 private:
  std::chrono::milliseconds grace_;
  std::map<QObject*, int> serials_;
};

}  // namespace velunorh::test
