#include "ui/enter_key.h"

#include <QKeyEvent>
#include <QPushButton>

namespace velunorh {
namespace {

// Sees the key a focused button left unhandled on its way up to the dialog, before the
// dialog's own handling gives it to the default button.
class FocusedButtonOnEnter : public QObject {
 public:
  explicit FocusedButtonOnEnter(QWidget* window) : QObject(window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != window_ || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    auto* button = qobject_cast<QPushButton*>(window_->focusWidget());
    if (!button || !button->isVisible()) return false;
    if (button->isEnabled()) button->click();
    return true;
  }

 private:
  QWidget* window_;
};

}  // namespace

void PressFocusedButtonOnEnter(QWidget* window) {
  window->installEventFilter(new FocusedButtonOnEnter(window));
}

}  // namespace velunorh
