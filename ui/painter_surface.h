#pragma once

#include <QFont>
#include <QPainter>

#include "card/surface.h"

namespace velunorh {

// The surface of a widget or a printer page, drawn with a QPainter in device units.
class PainterSurface : public Surface {
 public:
  // `systemFont` stands in for the system's variable-pitch text font (an empty face).
  PainterSurface(QPainter& painter, int hres, int vres, const QFont& systemFont);

  // Fonts given in pixels are drawn this much larger: a preview on a dialog that grew with a
  // larger desktop font. 1 for pages.
  void SetFontScale(double scale) { fontScale_ = scale; }

  int HorizontalResolution() const override { return hres_; }
  int VerticalResolution() const override { return vres_; }
  void SetFont(const FontSpec& font) override;
  void SetTextColor(Color color) override;
  void DrawText(int x, int y, std::string_view text, HAlign h, VAlign v) override;
  int TextWidth(std::string_view text) override;
  void SetClip(std::optional<Rect> clip) override;
  void DrawLine(int x1, int y1, int x2, int y2) override;
  void DrawRectangle(const Rect& rect) override;
  void DrawMark(Mark mark, const Rect& box, Color color) override;

 private:
  QPainter& painter_;
  int hres_;
  int vres_;
  QFont systemFont_;
  QColor textColor_ = Qt::black;
  double fontScale_ = 1.0;
};

}  // namespace velunorh
