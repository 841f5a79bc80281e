#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

#include "card/recording_surface.h"

namespace velunorh::bench {

// The floor of a repaint: the lines, rectangles and texts of one recorded repaint drawn straight
// onto an image with QPainter. Everything that is not drawing (fonts built, texts converted,
// anchors measured) is done once, when the replay is made.
class PainterReplay {
 public:
  PainterReplay(const RecordingSurface& recording, const QFont& systemFont, QColor background);

  void DrawOnto(QImage& image) const;

 private:
  struct Text {
    QPoint at;  // left end of the baseline
    QString text;
    int font;  // index into fonts_
    QColor color;
    bool clipped;
    QRect clip;
  };

  std::vector<QFont> fonts_;
  std::vector<Text> texts_;
  std::vector<RecordingSurface::Line> lines_;
  std::vector<QRect> rectangles_;
  QColor background_;
};

}  // namespace velunorh::bench
