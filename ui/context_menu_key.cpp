#include "ui/context_menu_key.h"

#include <QKeyEvent>

namespace velunorh {

bool IsContextMenuKey(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  if (event.key() == Qt::Key_Menu) return modifiers == Qt::NoModifier;
  return event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier;
}

}  // namespace velunorh
