#include "ui/show_message.h"

#include <QMessageBox>
#include <QPointer>

#include "base/string_table.h"

namespace velunorh {

ShowMessage MessageBoxOver(QWidget* parent) {
  return [owner = QPointer<QWidget>(parent)](const QString& text) {
    QMessageBox::warning(owner, QString::fromStdString(LoadString(StringId::ProgramName)), text);
  };
}

}  // namespace velunorh
