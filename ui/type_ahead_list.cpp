#include "ui/type_ahead_list.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace velunorh {
namespace {

// A key press that the platform would deliver as a character (not a navigation key, and not
// Enter, Escape or Tab, which belong to the dialog).
bool IsCharacter(const QKeyEvent* event) {
  const QString text = event->text();
  if (text.isEmpty()) return false;
  char16_t first = text.at(0).unicode();
  if (first == '\r' || first == '\n' || first == 0x1B || first == '\t') return false;
  return first >= 0x20 || first == '\b';
}

}  // namespace

TypeAheadList::TypeAheadList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TypeAheadList::keyPressEvent(QKeyEvent* event) {
  if (!IsCharacter(event)) {
    QListWidget::keyPressEvent(event);
    return;
  }
  std::vector<std::string> lines;
  lines.reserve(count());
  for (int i = 0; i < count(); ++i) lines.push_back(item(i)->text().toStdString());
  for (char32_t c : event->text().toUcs4()) {
    if (auto row = typeAhead_.Type(c, lines)) SelectBySearch(*row);
    Q_EMIT characterTyped();
  }
  event->accept();
}

void TypeAheadList::focusInEvent(QFocusEvent* event) {
  typeAhead_.Reset();
  QListWidget::focusInEvent(event);
}

void TypeAheadList::SelectBySearch(int row) {
  {
    QSignalBlocker block(this);
    setCurrentRow(row);
  }
  scrollToItem(item(row), QAbstractItemView::PositionAtTop);
  viewport()->update();
}

}  // namespace velunorh
