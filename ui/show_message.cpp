#include "ui/show_message.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

#include "base/string_table.h"
#include "ui/qt_text.h"

namespace velunorh {

ShowMessage MessageBoxOver(QWidget* parent) {
  return [owner = QPointer<QWidget>(parent)](const QString& text) {
    // Messages carry names from the files: a "<b>" or a lone "<" in a name is shown as typed.
    QMessageBox box(QMessageBox::Warning, Text(StringId::ProgramName), text, QMessageBox::Ok,
                    owner);
    box.setObjectName("warningBox");
    box.setTextFormat(Qt::PlainText);
    box.exec();
  };
}

int AskQuestion(QWidget* parent, const QString& text, const char* objectName,
                const std::vector<QuestionButton>& buttons, int defaultButton, int escapeButton) {
  QMessageBox box(QMessageBox::Warning, Text(StringId::ProgramName), text, QMessageBox::NoButton,
                  parent);
  box.setObjectName(objectName);
  box.setTextFormat(Qt::PlainText);
  std::vector<QPushButton*> added;
  for (const QuestionButton& button : buttons) {
    added.push_back(box.addButton(button.text, button.role));
    if (button.objectName) added.back()->setObjectName(button.objectName);
  }
  box.setDefaultButton(added.at(defaultButton));
  box.setEscapeButton(added.at(escapeButton));
  box.exec();
  const auto pressed = std::find(added.begin(), added.end(), box.clickedButton());
  return pressed == added.end() ? escapeButton : static_cast<int>(pressed - added.begin());
}

}  // namespace velunorh
