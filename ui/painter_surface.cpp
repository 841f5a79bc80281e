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
  // A named face is drawn as smoothly as the system font is (on Windows smoothed, so that Wine's
  // stand-in fonts keep the thin strokes of a small preview).
  font.setStyleStrategy(systemFont_.styleStrategy());
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
  // The frame's pixels run from left to right - 1 and top to bottom - 1. Qt's outline covers
  // one pixel more than the rectangle it is given, so it gets one a pixel smaller each way.
  const QRect outline(rect.left, rect.top, rect.right - rect.left - 1, rect.bottom - rect.top - 1);
  painter_.setBrush(Qt::white);
  painter_.drawRect(outline);
  painter_.setBrush(Qt::NoBrush);
}

void PainterSurface::DrawMark(Mark mark, const Rect& box, Color color) {
  const QRectF r(box.left, box.top, box.right - box.left, box.bottom - box.top);
  if (r.width() <= 0 || r.height() <= 0) return;
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing);
  // Strokes a sixth of the mark's height: as heavy as a bold letter of that size.
  const qreal stroke = std::max<qreal>(1.0, r.height() / 6);
  QPen pen(QColor(color.red, color.green, color.blue), stroke, Qt::SolidLine, Qt::RoundCap,
           Qt::RoundJoin);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
  // Points at fractions of the box, inset by half a stroke so that the ink stays inside it.
  const qreal inset = stroke / 2;
  const QRectF ink = r.adjusted(inset, inset, -inset, -inset);
  auto at = [&](qreal fx, qreal fy) {
    return QPointF(ink.left() + fx * ink.width(), ink.top() + fy * ink.height());
  };
  if (mark == Mark::kCheck) {
    const QPointF tick[] = {at(0, 0.55), at(0.38, 1), at(1, 0)};
    painter_.drawPolyline(tick, 3);
  } else {
    painter_.drawLine(at(0.5, 0), at(0.5, 0.62));
    pen.setWidthF(stroke * 1.3);
    painter_.setPen(pen);
    painter_.drawPoint(at(0.5, 1));
  }
  painter_.restore();
}

}  // namespace velunorh
