#include "ui/field_leave_watcher.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace velunorh {

FieldLeaveWatcher::FieldLeaveWatcher(QWidget* window, Check check)
    : QObject(window), window_(window), check_(std::move(check)) {}

void FieldLeaveWatcher::Watch(QLineEdit* field) {
  field->installEventFilter(this);
}

void FieldLeaveWatcher::ReturnFocus(QLineEdit* field) {
  returningFocus_ = true;
  field->setFocus(Qt::OtherFocusReason);
  returningFocus_ = false;
}

bool FieldLeaveWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusOut || returningFocus_) return false;
  Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
  // A field being destroyed is no longer a line edit: nothing to check then.
  auto* field = qobject_cast<QLineEdit*>(watched);
  if (!field || pending_.contains(field)) return false;
  pending_.insert(field);
  QTimer::singleShot(0, this, [this, field, guarded = QPointer<QLineEdit>(field)] {
    if (pending_.remove(field)) RunCheck(guarded);
  });
  return false;
}

void FieldLeaveWatcher::RunCheck(QPointer<QLineEdit> field) {
  if (!field) return;
  // A check left over from closing the window (OK or Cancel clicked) has nothing to check.
  if (!window_->isVisible()) return;
  check_(field);
}

}  // namespace velunorh
