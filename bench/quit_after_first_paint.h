#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace velunorh::bench {

// Installed on the application: ends its event loops as soon as a window of the given class has
// painted. The exit is queued, so the paint pass that sent the first paint event completes.
class QuitAfterFirstPaint : public QObject {
 public:
  explicit QuitAfterFirstPaint(const char* windowClass) : windowClass_(windowClass) {}

  bool painted() const { return painted_; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window()->inherits(windowClass_)) {
      painted_ = true;
      QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  const char* windowClass_;
  bool painted_ = false;
};

}  // namespace velunorh::bench
