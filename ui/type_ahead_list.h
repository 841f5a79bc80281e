#pragma once

#include <QListWidget>

#include "session/type_ahead.h"

namespace velunorh {

// The publisher list (control 1000) with its letter search. Typed characters, and text an input
// method commits, never reach the list's own keyboard search; arrow, paging, Home and End keys
// keep their usual behaviour. A selected line can be moved but never unselected.
class TypeAheadList : public QListWidget {
  Q_OBJECT

 public:
  explicit TypeAheadList(QWidget* parent = nullptr);
  const TypeAhead& typeAhead() const { return typeAhead_; }

  // Qt's own search would jump by rules of its own; the letter search replaces it.
  void keyboardSearch(const QString&) override {}

 Q_SIGNALS:
  // After every typed character, whether it selected a line or not. A selection made by the
  // search sends no currentRowChanged notification.
  void characterTyped();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;

 private:
  void TypeCharacters(const QString& text);
  void SelectBySearch(int row);
  TypeAhead typeAhead_;
};

}  // namespace velunorh
