#include "ui/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLayout>
#include <QWidget>
#include <cmath>

namespace velunorh {
namespace {

constexpr double kTemplateDpi = 96.0;
// Below this the change is rounding noise, and the templates' pixels are kept exactly.
constexpr double kNoChange = 0.02;

QSizeF BaseUnitsOf(const QFontMetricsF& metrics) {
  static const QString kAlphabet =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const double average = metrics.horizontalAdvance(kAlphabet) / kAlphabet.size();
  return {average / 4.0, metrics.height() / 8.0};
}

// The desktop's default font as it would be at 96 dpi: the font the templates were drawn at.
QSizeF TemplateBaseUnits() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  if (font.pixelSize() <= 0)
    font.setPixelSize(static_cast<int>(std::lround(font.pointSizeF() * kTemplateDpi / 72.0)));
  return BaseUnitsOf(QFontMetricsF(font));
}

int Scaled(int value, double factor) {
  return static_cast<int>(std::lround(value * factor));
}

// Edges are scaled rather than sizes, so that neighbours that touched still touch.
QRect ScaledRect(const QRect& r, const QSizeF& scale) {
  const int left = Scaled(r.x(), scale.width()), top = Scaled(r.y(), scale.height());
  const int right = Scaled(r.x() + r.width(), scale.width());
  const int bottom = Scaled(r.y() + r.height(), scale.height());
  return {left, top, right - left, bottom - top};
}

void ScaleFont(QWidget* widget, const QSizeF& scale) {
  if (!widget->testAttribute(Qt::WA_SetFont)) return;
  QFont font = widget->font();
  if (font.pixelSize() <= 0) return;  // a point size grows with the dpi by itself
  font.setPixelSize(std::max(1, Scaled(font.pixelSize(), scale.height())));
  widget->setFont(font);
}

// The controls of a template: children placed by hand, not by a layout, and not the inner parts
// of Qt's own composite widgets (scroll areas' viewports and bars), which place themselves.
void ScaleChildren(QWidget* parent, const QSizeF& scale) {
  if (parent->layout()) return;
  for (QObject* object : parent->children()) {
    auto* child = qobject_cast<QWidget*>(object);
    if (!child || child->isWindow() || child->objectName().startsWith(QLatin1String("qt_")))
      continue;
    child->setGeometry(ScaledRect(child->geometry(), scale));
    ScaleFont(child, scale);
    if (qobject_cast<QGroupBox*>(child) || child->metaObject() == &QWidget::staticMetaObject)
      ScaleChildren(child, scale);
  }
}

}  // namespace

QSizeF DialogBaseUnits(const QFont& font, const QWidget* device) {
  return BaseUnitsOf(QFontMetricsF(font, device));
}

QSizeF DialogUnitScale(const QWidget* widget) {
  static const QSizeF base = TemplateBaseUnits();
  const QSizeF current = DialogBaseUnits(widget->font(), widget);
  return {current.width() / base.width(), current.height() / base.height()};
}

double FontGrowth(const QWidget* widget) {
  const double growth = DialogUnitScale(widget).height();
  return std::abs(growth - 1.0) < kNoChange ? 1.0 : growth;
}

void ApplyDialogUnits(QWidget* dialog) {
  const QSizeF scale = DialogUnitScale(dialog);
  if (std::abs(scale.width() - 1.0) < kNoChange && std::abs(scale.height() - 1.0) < kNoChange)
    return;
  ScaleChildren(dialog, scale);
  ScaleFont(dialog, scale);
  dialog->resize(Scaled(dialog->width(), scale.width()), Scaled(dialog->height(), scale.height()));
}

}  // namespace velunorh
