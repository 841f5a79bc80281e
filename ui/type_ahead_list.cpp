#include "ui/type_ahead_list.h"

#include <algorithm>

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "ui/program_style.h"

namespace velunorh {
namespace {

// A key press that the platform would deliver as a character (not a navigation key, and not
// Enter, Escape or Tab, which belong to the dialog). With Ctrl or Alt held it is a command or a
// mnemonic, not a letter.
bool IsCharacter(const QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event->text();
  if (text.isEmpty()) return false;
  char16_t first = text.at(0).unicode();
  if (first == '\r' || first == '\n' || first == 0x1B || first == '\t') return false;
  return first >= 0x20 || first == '\b';
}

// Rows tall enough for the accents of capitals (Ú, Ő, É): in many fonts they rise above the
// font's ascent, and a row as high as the font's line would clip them.
class AccentRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(size.height() + 2 * AccentOverhang(option.fontMetrics));
    return size;
  }
};

}  // namespace

TypeAheadList::TypeAheadList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setAttribute(Qt::WA_InputMethodEnabled);
  setItemDelegate(new AccentRowDelegate(this));
  // A line selected without moving the current line (an accessibility select action) becomes
  // the current line too, so that it is the chosen publisher.
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.size() == 1 && selected.front().row() != currentRow())
      setCurrentRow(selected.front().row());
  });
}

void TypeAheadList::keyPressEvent(QKeyEvent* event) {
  if (!IsCharacter(event)) {
    QListWidget::keyPressEvent(event);
    return;
  }
  TypeCharacters(event->text());
  event->accept();
}

// Compose keys, dead keys and input methods deliver their text here, not as key presses: it
// goes through the same letter search. Text still being composed selects nothing.
void TypeAheadList::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) TypeCharacters(event->commitString());
  event->accept();
}

void TypeAheadList::TypeCharacters(const QString& text) {
  std::vector<std::string> lines;
  lines.reserve(count());
  for (int i = 0; i < count(); ++i) lines.push_back(item(i)->text().toStdString());
  for (char32_t c : text.toUcs4()) {
    if (TypeAhead::IsLetter(c)) {
      if (auto row = typeAhead_.Type(c, lines)) SelectBySearch(*row);
      // After every letter, matched or not, the selected line is brought back to the top.
      if (QListWidgetItem* selected = currentItem())
        scrollToItem(selected, QAbstractItemView::PositionAtTop);
    }
    Q_EMIT characterTyped();
  }
}

void TypeAheadList::focusInEvent(QFocusEvent* event) {
  typeAhead_.Reset();
  QListWidget::focusInEvent(event);
}

// Ctrl+click and Ctrl+Space would unselect the selected line while the previews and printing
// still use its publisher: they select it instead.
QItemSelectionModel::SelectionFlags TypeAheadList::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
  QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
  if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
  return command;
}

void TypeAheadList::SelectBySearch(int row) {
  {
    QSignalBlocker block(this);
    setCurrentRow(row);
  }
  viewport()->update();
}

}  // namespace velunorh
