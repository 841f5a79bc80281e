#include "ui/dialog_prompts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "base/string_table.h"
#include "ui/data_source_dialog.h"
#include "ui/password_dialog.h"
#include "ui/qt_text.h"
#include "ui/show_message.h"

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
  enum { kLeaveOut, kAnyway, kCancel };
  switch (AskQuestion(
      parent_, FromUtf8(question), "overprintQuestion",
      {{Text(StringId::OverprintLeaveOut), QMessageBox::AcceptRole, "overprintLeaveOut"},
       {Text(StringId::OverprintPrintAnyway), QMessageBox::DestructiveRole, "overprintPrintAnyway"},
       {Text(StringId::CancelButton), QMessageBox::RejectRole}},
      kLeaveOut, kCancel)) {
    case kAnyway:
      return OverprintAnswer::kPrintAnyway;
    case kLeaveOut:
      return OverprintAnswer::kLeaveOut;
  }
  return OverprintAnswer::kCancel;
}

bool DialogPrompts::WaitToSave(const std::string& message, const std::function<bool()>& tryAgain) {
  QMessageBox box(QMessageBox::Warning, Text(StringId::ProgramName), FromUtf8(message),
                  QMessageBox::NoButton, parent_);
  box.setObjectName("waitToSaveQuestion");
  box.setTextFormat(Qt::PlainText);
  QPushButton* again = box.addButton(Text(StringId::SaveAgainButton), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(Text(StringId::CancelButton), QMessageBox::RejectRole);
  box.setDefaultButton(again);
  box.setEscapeButton(cancel);
  // Another copy holds the lock only while it saves: tried again in the background, and the
  // question goes by itself once the lock came free.
  bool over = false;
  QTimer retry;
  retry.setInterval(kSaveRetryInterval);
  QObject::connect(&retry, &QTimer::timeout, &box, [&] {
    if (over || !tryAgain()) return;
    over = true;
    box.done(QMessageBox::Accepted);
  });
  retry.start();
  for (;;) {
    box.exec();
    if (over) return true;
    if (box.clickedButton() != again) return false;
    if (tryAgain()) return true;
  }
}

}  // namespace velunorh
