#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "card/surface.h"

namespace velunorh {

// An owner-drawn pane: the header preview (control 1006) and the monthly preview (control 129).
// The main window hands it the drawing pass; the pane gives it a surface and its client
// rectangle, which is taken at the first paint and kept.
class PreviewPane : public QWidget {
  Q_OBJECT

 public:
  using Painter = std::function<void(Surface& surface, const Rect& client)>;
  using TextSource = std::function<QString()>;

  explicit PreviewPane(QWidget* parent = nullptr);
  void SetPainter(Painter painter) { painter_ = std::move(painter); }
  // The pane was drawn this much smaller than the window's font would have it, to fit the
  // screen: its text shrinks by as much, so that it keeps its place in the card's columns.
  void SetShrink(double factor) { shrink_ = factor; }
  bool painted() const { return client_.has_value(); }
  // The drawing pass as handed over (for drawing the same onto another surface).
  const Painter& painter() const { return painter_; }

  // What the pane shows, as text for screen readers: asked for whenever one reads the pane.
  // Its accessible name is the pane's accessibleName() (or this text when that is empty); its
  // description is this text.
  void SetAccessibleText(TextSource source) { accessibleText_ = std::move(source); }
  QString AccessibleText() const { return accessibleText_ ? accessibleText_() : QString(); }
  // Tells screen readers that the shown content changed (a new publisher, other months).
  void NotifyAccessibleTextChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Painter painter_;
  TextSource accessibleText_;
  std::optional<Rect> client_;
  double shrink_ = 1.0;
};

}  // namespace velunorh
