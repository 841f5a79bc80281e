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

OverprintAnswer DialogPrompts::AskOverprint(const std::string& question) {
  QMessageBox box(QMessageBox::Warning, Text(StringId::ProgramName), FromUtf8(question),
                  QMessageBox::NoButton, parent_);
  box.setObjectName("overprintQuestion");
  QPushButton* leaveOut = box.addButton(Text(StringId::OverprintLeaveOut), QMessageBox::AcceptRole);
  leaveOut->setObjectName("overprintLeaveOut");
  QPushButton* anyway =
      box.addButton(Text(StringId::OverprintPrintAnyway), QMessageBox::DestructiveRole);
  anyway->setObjectName("overprintPrintAnyway");
  QPushButton* cancel = box.addButton(Text(StringId::CancelButton), QMessageBox::RejectRole);
  box.setDefaultButton(leaveOut);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == anyway) return OverprintAnswer::kPrintAnyway;
  if (box.clickedButton() == leaveOut) return OverprintAnswer::kLeaveOut;
  return OverprintAnswer::kCancel;
}

}  // namespace velunorh
