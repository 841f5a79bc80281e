#include "ui/print_file_question.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>

#include "base/string_table.h"
#include "ui/print_job.h"
#include "ui/qt_text.h"

namespace velunorh {

bool AskPrintFile(QWidget* parent, QPrinter& printer, const std::string& fileName) {
  if (!PrintsToFile(printer)) return true;
  const QString last = printer.outputFileName();
  const QString folder = last.isEmpty() ? QDir::homePath() : QFileInfo(last).absolutePath();
  QFileDialog dialog(parent, Text(StringId::PrintFileTitle),
                     QDir(folder).filePath(QString::fromStdString(fileName)),
                     Text(StringId::PrintFileFilter));
  dialog.setObjectName("printFileDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix("pdf");
  // Replacing a file is asked below, in the program's words.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QString chosen = dialog.selectedFiles().first();
  if (QFileInfo::exists(chosen)) {
    QMessageBox ask(QMessageBox::Question, Text(StringId::ProgramName),
                    Text(StringId::PrintFileReplace).arg(QDir::toNativeSeparators(chosen)),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    ask.setObjectName("printFileReplace");
    ask.setTextFormat(Qt::PlainText);
    ask.setDefaultButton(QMessageBox::Cancel);
    ask.button(QMessageBox::Ok)->setText(Text(StringId::OkButton));
    ask.button(QMessageBox::Cancel)->setText(Text(StringId::CancelButton));
    if (ask.exec() != QMessageBox::Ok) return false;
  }
  printer.setOutputFileName(chosen);
  return true;
}

}  // namespace velunorh
