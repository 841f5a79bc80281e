#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <functional>

class QLineEdit;
class QWidget;

namespace velunorh {

// Runs a check on an edit field once the focus has left it for another control of the same
// window and has settled there (the check runs from the event queue, not inside the focus
// change). Focus that goes to another window (a message box, a menu) is no leaving, and
// neither is a move the owner makes with ReturnFocus: so a failed check that hands the focus
// back to its field never sets off a check of the field the user had moved to, and two bad
// fields cannot send the focus and the message boxes back and forth.
class FieldLeaveWatcher : public QObject {
  Q_OBJECT

 public:
  using Check = std::function<void(QLineEdit* field)>;
  FieldLeaveWatcher(QWidget* window, Check check);

  void Watch(QLineEdit* field);
  // Gives the focus back to `field` without any check of the control that loses it.
  void ReturnFocus(QLineEdit* field);
  // The owner has just checked `field` itself (on OK): a check still queued for it is dropped,
  // so the user is not told twice.
  void CheckedNow(QLineEdit* field) { pending_.remove(field); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RunCheck(QPointer<QLineEdit> field);

  QWidget* window_;
  Check check_;
  QSet<QLineEdit*> pending_;
  bool returningFocus_ = false;
};

}  // namespace velunorh
