#include "ui/fit_to_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace velunorh {
namespace {

// Room left on the screen for the title bar and the frame, which the window system adds.
constexpr int kFrameWidth = 16;
constexpr int kTitleHeight = 48;
// Below this the previews' text would be too small to read: the window then stays larger.
constexpr double kSmallestShrink = 0.6;

QSize Room(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect available = screen->availableGeometry();
  return {available.width() - kFrameWidth, available.height() - kTitleHeight};
}

// The window's own controls: not the inner parts of Qt's composite widgets.
QList<QWidget*> Controls(QWidget* window) {
  QList<QWidget*> controls;
  for (QObject* child : window->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget && !widget->isWindow() && !widget->objectName().startsWith(QLatin1String("qt_")))
      controls << widget;
  }
  return controls;
}

int Scaled(int value, double factor) {
  return static_cast<int>(std::lround(value * factor));
}

}  // namespace

void ScrollWhenLargerThanScreen(QWidget* dialog) {
  const QSize room = Room(dialog);
  if (room.isEmpty()) return;
  const QSize size = dialog->size();
  if (size.width() <= room.width() && size.height() <= room.height()) return;

  QList<QWidget*> tabOrder;
  for (QWidget* w = dialog->nextInFocusChain(); w && w != dialog; w = w->nextInFocusChain())
    tabOrder << w;
  auto* content = new QWidget;
  content->setObjectName("scrolledContent");
  content->setFixedSize(size);
  for (QObject* child : dialog->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget || widget->isWindow()) continue;
    const bool hidden = widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
    widget->setParent(content);
    widget->setVisible(!hidden);
  }
  for (qsizetype i = 1; i < tabOrder.size(); ++i)
    QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

  auto* scroll = new QScrollArea(dialog);
  scroll->setObjectName("dialogScroll");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setFocusPolicy(Qt::NoFocus);  // the fields take the focus, not the area around them
  scroll->setWidget(content);
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
  const int bar = dialog->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  dialog->resize(std::min(size.width() + bar, room.width()),
                 std::min(size.height() + bar, room.height()));
}

double ShrinkPanesToFitScreen(QWidget* window, const QList<QWidget*>& panes,
                              const QList<QWidget*>& companions) {
  const QSize room = Room(window);
  const QSize size = window->size();
  if (room.isEmpty() || panes.isEmpty() ||
      (size.width() <= room.width() && size.height() <= room.height()))
    return 1.0;

  QRect block;
  for (QWidget* w : panes + companions) block |= w->geometry();
  // Only the block gives up room; what lies beside it stays as it is.
  const double across = double(room.width() - (size.width() - block.width())) / block.width();
  const double down = double(room.height() - (size.height() - block.height())) / block.height();
  const double factor = std::clamp(std::min(across, down), kSmallestShrink, 1.0);
  if (factor >= 1.0) return 1.0;

  const QPoint origin = block.topLeft();
  auto scaled = [&](QPoint p) {
    return origin + QPoint(Scaled(p.x() - origin.x(), factor), Scaled(p.y() - origin.y(), factor));
  };
  // Edges are scaled rather than sizes, so that panes that touched still touch.
  for (QWidget* pane : panes) {
    const QRect r = pane->geometry();
    pane->setGeometry(
        QRect(scaled(r.topLeft()), scaled(r.bottomRight() + QPoint(1, 1)) - QPoint(1, 1)));
  }
  for (QWidget* companion : companions) {
    const QRect r = companion->geometry();
    companion->move(scaled(r.center()) - (r.center() - r.topLeft()));
  }
  const QRect shrunk(block.topLeft(),
                     QSize(Scaled(block.width(), factor), Scaled(block.height(), factor)));
  const QPoint closeUp(block.width() - shrunk.width(), block.height() - shrunk.height());

  int right = 0, bottom = 0, newRight = 0, newBottom = 0;
  for (QWidget* control : Controls(window)) {
    const bool inBlock = panes.contains(control) || companions.contains(control);
    const QRect before = control->geometry();
    if (!inBlock) {
      right = std::max(right, before.x() + before.width());
      bottom = std::max(bottom, before.y() + before.height());
      QPoint to = before.topLeft();
      if (before.left() >= block.left() + block.width()) to.rx() -= closeUp.x();
      if (before.top() >= block.top() + block.height()) to.ry() -= closeUp.y();
      control->move(to);
    }
    const QRect after = control->geometry();
    newRight = std::max(newRight, after.x() + after.width());
    newBottom = std::max(newBottom, after.y() + after.height());
  }
  right = std::max(right, block.x() + block.width());
  bottom = std::max(bottom, block.y() + block.height());
  window->resize(size.width() - right + newRight, size.height() - bottom + newBottom);
  return factor;
}

}  // namespace velunorh
