#include "ui/accessible_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QMenu>
#include <QWidget>

namespace velunorh {
namespace {

class WindowWithMenus : public QAccessibleWidget {
 public:
  explicit WindowWithMenus(QWidget* window) : QAccessibleWidget(window, QAccessible::Dialog) {}

  int childCount() const override {
    return QAccessibleWidget::childCount() + static_cast<int>(OpenMenus().size());
  }
  QAccessibleInterface* child(int index) const override {
    const int own = QAccessibleWidget::childCount();
    if (index < own) return QAccessibleWidget::child(index);
    const QList<QMenu*> menus = OpenMenus();
    if (index - own >= menus.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(menus[index - own]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const QList<QMenu*> menus = OpenMenus();
    for (qsizetype i = 0; i < menus.size(); ++i)
      if (child && child->object() == menus[i])
        return QAccessibleWidget::childCount() + static_cast<int>(i);
    return QAccessibleWidget::indexOfChild(child);
  }

 private:
  QList<QMenu*> OpenMenus() const {
    QList<QMenu*> open;
    for (QMenu* menu : widget()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
      if (menu->isVisible()) open << menu;
    return open;
  }
};

QAccessibleInterface* MainWindowInterface(const QString& className, QObject* object) {
  if (className != QLatin1String("velunorh::MainWindow") || !object->isWidgetType()) return nullptr;
  return new WindowWithMenus(static_cast<QWidget*>(object));
}

}  // namespace

void ListOpenMenusWithMainWindow() {
  static const bool installed = (QAccessible::installFactory(MainWindowInterface), true);
  (void)installed;
}

void NameGroupBoxesByTitle(QWidget* dialog) {
  for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
    if (box->accessibleName().isEmpty()) box->setAccessibleName(box->title().remove('&').trimmed());
}

}  // namespace velunorh
