#include "ui/fit_to_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

namespace velunorh {
namespace {

// Room left on the screen for the title bar and the frame, which the window system adds.
constexpr int kFrameWidth = 16;
constexpr int kTitleHeight = 48;

}  // namespace

void ScrollWhenLargerThanScreen(QWidget* dialog) {
  QScreen* screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  const QSize room(available.width() - kFrameWidth, available.height() - kTitleHeight);
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

}  // namespace velunorh
