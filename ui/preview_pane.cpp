#include "ui/preview_pane.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

#include "ui/dialog_units.h"
#include "ui/painter_surface.h"

namespace velunorh {
namespace {

// A drawn pane has no text of its own for Qt to find: this reads the pane's text source.
class AccessiblePreviewPane : public QAccessibleWidget {
 public:
  explicit AccessiblePreviewPane(PreviewPane* pane)
      : QAccessibleWidget(pane, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    const auto* pane = static_cast<const PreviewPane*>(widget());
    switch (kind) {
      case QAccessible::Name:
        return pane->accessibleName().isEmpty() ? pane->AccessibleText() : pane->accessibleName();
      case QAccessible::Description:
        return pane->AccessibleText();
      default:
        return QAccessibleWidget::text(kind);
    }
  }
};

QAccessibleInterface* PreviewPaneAccessibility(const QString&, QObject* object) {
  if (auto* pane = qobject_cast<PreviewPane*>(object)) return new AccessiblePreviewPane(pane);
  return nullptr;
}

}  // namespace

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(PreviewPaneAccessibility);
    return true;
  }();
  (void)factoryInstalled;
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  // The previews were laid out for a small dialog font; the desktop's default is larger and
  // would push the month names and totals out of their column.
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);
}

void PreviewPane::NotifyAccessibleTextChanged() {
  QAccessibleEvent event(this, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&event);
}

void PreviewPane::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (!client_) client_ = Rect{0, 0, width(), height()};
  if (!painter_) return;
  PainterSurface surface(painter, logicalDpiX(), logicalDpiY(), font());
  // The window's font: the pane's own is set small.
  surface.SetFontScale(FontGrowth(window()) * shrink_);
  painter_(surface, *client_);
}

}  // namespace velunorh
