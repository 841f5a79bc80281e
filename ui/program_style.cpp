#include "ui/program_style.h"

#include <QApplication>
#include <QLabel>
#include <QStyleOption>
#include <algorithm>
#include <utility>
#include <vector>

namespace velunorh {
namespace {

// The room a label was given above its first line, kept so that polishing again (a new style, a
// new font) replaces it instead of adding to it.
constexpr char kAccentRoom[] = "velunorhAccentRoom";

void SetAccentRoom(QLabel* label, int room) {
  const int before = label->property(kAccentRoom).toInt();
  if (room == before) return;
  QMargins margins = label->contentsMargins();
  margins.setTop(std::max(0, margins.top() - before + room));
  label->setContentsMargins(margins);
  label->setProperty(kAccentRoom, room);
}

}  // namespace

int AccentOverhang(const QFontMetrics& metrics) {
  const int top = -metrics.tightBoundingRect(QString::fromUtf8("ÚŐÉÁÖ")).top();
  return std::max(0, top - metrics.ascent());
}

// A control's text rectangle is as high as the font's line, so the accents above the ascent
// fall outside it; the widget's own edge still bounds the text.
void ProgramStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                                const QPalette& palette, bool enabled, const QString& text,
                                QPalette::ColorRole textRole) const {
  QProxyStyle::drawItemText(painter, rect, flags | Qt::TextDontClip, palette, enabled, text,
                            textRole);
}

// A group box's title stands at the box's top edge: the title, and the frame and contents under
// it, move down by the accents' rise.
QRect ProgramStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                   SubControl part, const QWidget* widget) const {
  QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
  if (control != CC_GroupBox || !option) return rect;
  const int rise = AccentOverhang(option->fontMetrics);
  if (part == SC_GroupBoxLabel || part == SC_GroupBoxCheckBox) return rect.translated(0, rise);
  if (part == SC_GroupBoxFrame || part == SC_GroupBoxContents) rect.setTop(rect.top() + rise);
  return rect;
}

// A message's text that can be selected is drawn as a text document clipped to its lines, the
// accents above the first line with it: the message shows as plain text instead.
int ProgramStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
  const int value = QProxyStyle::styleHint(hint, option, widget, returnData);
  if (hint != SH_MessageBox_TextInteractionFlags) return value;
  return value & ~(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

// A label is often exactly as high as its text (a message box's, or one in a layout): it gets
// room above its first line for the accents, as more margin on top.
void ProgramStyle::polish(QWidget* widget) {
  QProxyStyle::polish(widget);
  if (auto* label = qobject_cast<QLabel*>(widget))
    SetAccentRoom(label, AccentOverhang(label->fontMetrics()));
}

void ProgramStyle::unpolish(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) SetAccentRoom(label, 0);
  QProxyStyle::unpolish(widget);
}

#ifdef _WIN32
namespace {

// Drawn without smoothing, a small sans font can lose a thin stroke whole: Wine, whose fonts stand
// in for the Windows ones, leaves the capital I of an 11-pixel label without a pixel ("W NRUN").
// Smoothed, every stroke keeps some ink; a Windows with ClearType on draws it so anyway. The
// platform gives some widget classes fonts of their own, which the application font does not
// reach, so they are asked too.
void PreferSmoothText() {
  static const char* const kClassesWithOwnFont[] = {"QMenu",
                                                    "QMenuBar",
                                                    "QMenuItem",
                                                    "QMessageBox",
                                                    "QLabel",
                                                    "QTipLabel",
                                                    "QTitleBar",
                                                    "QStatusBar",
                                                    "QPushButton",
                                                    "QCheckBox",
                                                    "QRadioButton",
                                                    "QToolButton",
                                                    "QAbstractItemView",
                                                    "QListView",
                                                    "QHeaderView",
                                                    "QListBox",
                                                    "QComboMenuItem",
                                                    "QComboLineEdit",
                                                    "QSmallFont",
                                                    "QMiniFont",
                                                    "QDockWidgetTitle",
                                                    "QMdiSubWindowTitleBar"};
  const QFont common = QApplication::font();
  std::vector<std::pair<const char*, QFont>> own;
  for (const char* name : kClassesWithOwnFont)
    if (QApplication::font(name) != common) own.emplace_back(name, QApplication::font(name));
  QFont font = common;
  font.setStyleStrategy(QFont::PreferAntialias);
  QApplication::setFont(font);  // forgets the classes' fonts, set again below
  for (auto& [name, classFont] : own) {
    classFont.setStyleStrategy(QFont::PreferAntialias);
    QApplication::setFont(classFont, name);
  }
}

}  // namespace
#endif

void InstallProgramStyle() {
  if (qobject_cast<ProgramStyle*>(QApplication::style())) return;
  // By name: the application deletes its old style when it takes the new one.
  QApplication::setStyle(new ProgramStyle(QApplication::style()->name()));
#ifdef _WIN32
  // After the style: a new style gives the classes the platform's fonts again.
  PreferSmoothText();
#endif
}

}  // namespace velunorh
