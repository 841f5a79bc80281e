#include "ui/up_down_arrows.h"

#include "base/string_table.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace velunorh {
namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);  // the pair takes the focus as one control
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return button;
}

// Read as a spin box with the owner's value, not as a nameless filler.
class AccessibleArrows : public QAccessibleWidget {
 public:
  explicit AccessibleArrows(UpDownArrows* arrows)
      : QAccessibleWidget(arrows, QAccessible::SpinBox) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return static_cast<UpDownArrows*>(widget())->valueText();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* ArrowsInterface(const QString& className, QObject* object) {
  if (className != QLatin1String("velunorh::UpDownArrows")) return nullptr;
  return new AccessibleArrows(static_cast<UpDownArrows*>(object));
}

}  // namespace

UpDownArrows::UpDownArrows(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(Qt::UpArrow, this)), down_(MakeArrow(Qt::DownArrow, this)) {
  setFocusPolicy(Qt::StrongFocus);
  static const bool installed = (QAccessible::installFactory(ArrowsInterface), true);
  (void)installed;
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);  // room for the focus frame
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  NameArrows();
  connect(up_, &QToolButton::clicked, this, [this] { Q_EMIT stepRequested(+1); });
  connect(down_, &QToolButton::clicked, this, [this] { Q_EMIT stepRequested(-1); });
}

void UpDownArrows::NameArrows() {
  const QString owner = accessibleName();
  up_->setAccessibleName(QString::fromStdString(
      owner.isEmpty() ? LoadString(StringId::StepUp)
                      : LoadStringWith(StringId::StepUpOf, {owner.toStdString()})));
  down_->setAccessibleName(QString::fromStdString(
      owner.isEmpty() ? LoadString(StringId::StepDown)
                      : LoadStringWith(StringId::StepDownOf, {owner.toStdString()})));
}

void UpDownArrows::SetValueText(const QString& text) {
  if (text == valueText_) return;
  valueText_ = text;
  QAccessibleValueChangeEvent event(this, text);
  QAccessible::updateAccessibility(&event);
}

void UpDownArrows::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      Q_EMIT stepRequested(+1);
      return;
    case Qt::Key_Down:
      Q_EMIT stepRequested(-1);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace velunorh

namespace velunorh {

void UpDownArrows::paintEvent(QPaintEvent*) {
  if (!hasFocus()) return;
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace velunorh
