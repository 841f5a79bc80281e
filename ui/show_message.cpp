#include "ui/show_message.h"

#include <QMessageBox>
#include <QPointer>

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

}  // namespace velunorh
