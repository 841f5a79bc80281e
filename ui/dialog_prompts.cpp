#include "ui/dialog_prompts.h"

#include <QMessageBox>
#include <QPushButton>

#include "base/string_table.h"
#include "ui/data_source_dialog.h"
#include "ui/password_dialog.h"
#include "ui/qt_text.h"

namespace velunorh {

std::optional<int> DialogPrompts::ChooseDataLocation(int preset, bool atStartUp) {
  return velunorh::ChooseDataLocation(preset, atStartUp, floppyFolder_, parent_);
}

bool DialogPrompts::CheckPassword(const PublisherRecord& header) {
  return AskPassword(header, parent_);
}

bool DialogPrompts::ConfirmNewData() {
  QMessageBox box(QMessageBox::NoIcon, Text(StringId::ProgramName),
                  Text(StringId::DataSourceHasPublishers), QMessageBox::Ok | QMessageBox::Cancel,
                  parent_);
  box.button(QMessageBox::Cancel)->setText(Text(StringId::CancelButton));
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok;
}

}  // namespace velunorh
