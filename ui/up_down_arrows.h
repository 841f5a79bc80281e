#pragma once

#include <QWidget>

class QToolButton;

namespace velunorh {

// A pair of small arrow buttons that only ask for a step: what a step does, and what is shown
// beside the arrows, is up to the owner. Takes the focus, so the arrow keys step as well.
class UpDownArrows : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownArrows(QWidget* parent = nullptr);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

  // Names the two arrows after the pair's accessible name ("… növelése", "… csökkentése"), so a
  // screen reader tells which value an arrow steps.
  void NameArrows();

  // The value the owner shows beside the arrows: a screen reader hears it as the control's value.
  void SetValueText(const QString& text);
  const QString& valueText() const { return valueText_; }

 Q_SIGNALS:
  // +1 for up, -1 for down.
  void stepRequested(int direction);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent*) override { update(); }
  void focusOutEvent(QFocusEvent*) override { update(); }

 private:
  QToolButton* up_;
  QToolButton* down_;
  QString valueText_;
};

}  // namespace velunorh
