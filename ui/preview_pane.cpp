#include "ui/preview_pane.h"

#include <QPainter>

#include "ui/painter_surface.h"

namespace velunorh {

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  // The previews were laid out for a small dialog font; the desktop's default is larger and
  // would push the month names and totals out of their column.
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);
}

void PreviewPane::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (!client_) client_ = Rect{0, 0, width(), height()};
  if (!painter_) return;
  PainterSurface surface(painter, logicalDpiX(), logicalDpiY(), font());
  painter_(surface, *client_);
}

}  // namespace velunorh
