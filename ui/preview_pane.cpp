#include "ui/preview_pane.h"

#include <QPainter>

#include "print/painter_surface_qt.h"

namespace velunorh {

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
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
