#include "ui/painter_surface.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>

namespace velunorh {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PainterSurface::PainterSurface(QPainter& painter, int hres, int vres, const QFont& systemFont)
    : painter_(painter), hres_(hres), vres_(vres), systemFont_(systemFont) {
  painter_.setPen(QPen(Qt::black, 0));
  painter_.setBackgroundMode(Qt::TransparentMode);
}

void PainterSurface::SetFont(const FontSpec& wanted) {
  QFont font = wanted.face.empty() ? systemFont_ : QFont(QString::fromStdString(wanted.face));
  if (wanted.emHeight > 0)
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(wanted.emHeight * fontScale_))));
  // Windows weights run 100-900 like CSS; Qt 6 uses the same scale. 0 means "normal".
  font.setWeight(static_cast<QFont::Weight>(wanted.weight > 0 ? wanted.weight : 400));
  font.setStyleHint(QFont::SansSerif);
  painter_.setFont(font);
}

void PainterSurface::SetTextColor(Color color) {
  textColor_ = QColor(color.red, color.green, color.blue);
}

void PainterSurface::DrawText(int x, int y, std::string_view text, HAlign h, VAlign v) {
  QString s = ToQString(text);
  QFontMetrics metrics(painter_.font(), painter_.device());
  int left = h == HAlign::kLeft ? x : x - metrics.horizontalAdvance(s);
  int baseline = v == VAlign::kTop ? y + metrics.ascent() : y - metrics.descent();
  QPen old = painter_.pen();
  painter_.setPen(textColor_);
  painter_.drawText(QPoint(left, baseline), s);
  painter_.setPen(old);
}

int PainterSurface::TextWidth(std::string_view text) {
  QFontMetrics metrics(painter_.font(), painter_.device());
  return metrics.horizontalAdvance(ToQString(text));
}

void PainterSurface::SetClip(std::optional<Rect> clip) {
  if (!clip) {
    painter_.setClipping(false);
    return;
  }
  painter_.setClipRect(
      QRect(QPoint(clip->left, clip->top), QPoint(clip->right - 1, clip->bottom - 1)));
}

void PainterSurface::DrawLine(int x1, int y1, int x2, int y2) {
  painter_.drawLine(x1, y1, x2, y2);
}

void PainterSurface::DrawRectangle(const Rect& rect) {
  // A Windows rectangle excludes its right and bottom edge.
  QRect r(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
  painter_.setBrush(Qt::white);
  painter_.drawRect(r);
  painter_.setBrush(Qt::NoBrush);
}

}  // namespace velunorh
