#pragma once

#include <QFontMetrics>
#include <QProxyStyle>

class QApplication;

namespace velunorh {

// How far the accents of capital letters rise above the font's ascent (0 when they fit).
int AccentOverhang(const QFontMetrics& metrics);

// The platform's style, drawing whole the accents of capitals (the dots of "Ö" in DejaVu Sans
// rise above the font's ascent): a text is not clipped to its text rectangle, and a label has
// room above its first line. Every message box, label, check box and button the program shows
// is drawn through it.
class ProgramStyle : public QProxyStyle {
  Q_OBJECT

 public:
  using QProxyStyle::QProxyStyle;

  void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                    bool enabled, const QString& text,
                    QPalette::ColorRole textRole = QPalette::NoRole) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget = nullptr) const override;
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
  void polish(QWidget* widget) override;
  void unpolish(QWidget* widget) override;
  using QProxyStyle::polish;
  using QProxyStyle::unpolish;
};

// Puts a ProgramStyle over the application's current style (the platform's, or -style's).
void InstallProgramStyle();

}  // namespace velunorh
