#include "bench/painter_replay.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace velunorh::bench {
namespace {

// The font the screen surface makes of a font request.
QFont FontOf(const FontSpec& wanted, const QFont& systemFont) {
  QFont font = wanted.face.empty() ? systemFont : QFont(QString::fromStdString(wanted.face));
  if (wanted.emHeight > 0) font.setPixelSize(wanted.emHeight);
  font.setWeight(static_cast<QFont::Weight>(wanted.weight > 0 ? wanted.weight : 400));
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QRect QtRect(const Rect& r) {
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

}  // namespace

PainterReplay::PainterReplay(const RecordingSurface& recording, const QFont& systemFont,
                             QColor background)
    : lines_(recording.lines), background_(background) {
  std::vector<FontSpec> specs;
  QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
  for (const auto& text : recording.texts) {
    auto found = std::find(specs.begin(), specs.end(), text.font);
    const int font = static_cast<int>(found - specs.begin());
    if (found == specs.end()) {
      specs.push_back(text.font);
      fonts_.push_back(FontOf(text.font, systemFont));
    }
    const QString s = QString::fromStdString(text.text);
    const QFontMetrics metrics(fonts_[font], &probe);
    const int left = text.h == HAlign::kLeft ? text.x : text.x - metrics.horizontalAdvance(s);
    const int baseline =
        text.v == VAlign::kTop ? text.y + metrics.ascent() : text.y - metrics.descent();
    texts_.push_back({QPoint(left, baseline), s, font,
                      QColor(text.color.red, text.color.green, text.color.blue),
                      text.clip.has_value(), text.clip ? QtRect(*text.clip) : QRect()});
  }
  for (const Rect& r : recording.rectangles) rectangles_.push_back(QtRect(r));
}

void PainterReplay::DrawOnto(QImage& image) const {
  QPainter painter(&image);
  painter.fillRect(image.rect(), background_);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::white);
  for (const QRect& r : rectangles_) painter.drawRect(r);
  painter.setBrush(Qt::NoBrush);
  for (const auto& l : lines_) painter.drawLine(l.x1, l.y1, l.x2, l.y2);
  int font = -1;
  bool clipped = false;
  for (const Text& text : texts_) {
    if (text.font != font) painter.setFont(fonts_[font = text.font]);
    if (text.clipped) {
      painter.setClipRect(text.clip);
    } else if (clipped) {
      painter.setClipping(false);
    }
    clipped = text.clipped;
    painter.setPen(text.color);
    painter.drawText(text.at, text.text);
  }
}

}  // namespace velunorh::bench
