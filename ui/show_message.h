#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace velunorh {

// How a dialog tells the user something. Tests put a recorder in its place.
using ShowMessage = std::function<void(const QString& text)>;

// A warning box over `parent` with the program's title (string 147) and an OK button.
ShowMessage MessageBoxOver(QWidget* parent);

// A button of a question: its text, its role, and the object name tests press it by.
struct QuestionButton {
  QString text;
  QMessageBox::ButtonRole role;
  const char* objectName = nullptr;
};
// A warning box over `parent` with the program's title, named `objectName`, that asks `text`
// with `buttons` in this order. Gives the index of the button pressed; Escape or closing the
// box counts as pressing `escapeButton`.
int AskQuestion(QWidget* parent, const QString& text, const char* objectName,
                const std::vector<QuestionButton>& buttons, int defaultButton, int escapeButton);

}  // namespace velunorh
