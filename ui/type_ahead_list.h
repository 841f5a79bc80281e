#pragma once

#include <QListWidget>

#include "session/type_ahead.h"

namespace velunorh {

// The publisher list (control 1000) with its letter search. Typed characters never reach the
// list's own one-letter search; arrow, paging, Home and End keys keep their usual behaviour.
class TypeAheadList : public QListWidget {
  Q_OBJECT

 public:
  explicit TypeAheadList(QWidget* parent = nullptr);
  const TypeAhead& typeAhead() const { return typeAhead_; }

 Q_SIGNALS:
  // After every typed character, whether it selected a line or not. A selection made by the
  // search sends no currentRowChanged notification.
  void characterTyped();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void SelectBySearch(int row);
  TypeAhead typeAhead_;
};

}  // namespace velunorh
