#include "ui/print/print_file_question.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>

#include "base/string_table.h"
#include "ui/print/print_job.h"
#include "ui/qt_text.h"

namespace velunorh {
namespace {

// The file the user chose, or "" when the dialog was closed without one.
QString AskForFile(QWidget* parent, const QString& proposed) {
  QFileDialog dialog(parent, Text(StringId::PrintFileTitle), proposed,
                     Text(StringId::PrintFileFilter));
  dialog.setObjectName("printFileDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix("pdf");
  // Replacing a file is asked below, in the program's words.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

bool MayReplace(QWidget* parent, const QString& file) {
  QMessageBox ask(QMessageBox::Question, Text(StringId::ProgramName),
                  Text(StringId::PrintFileReplace).arg(QDir::toNativeSeparators(file)),
                  QMessageBox::Ok | QMessageBox::Cancel, parent);
  ask.setObjectName("printFileReplace");
  ask.setTextFormat(Qt::PlainText);
  ask.setDefaultButton(QMessageBox::Cancel);
  ask.button(QMessageBox::Ok)->setText(Text(StringId::OkButton));
  ask.button(QMessageBox::Cancel)->setText(Text(StringId::CancelButton));
  return ask.exec() == QMessageBox::Ok;
}

}  // namespace

bool AskPrintFile(QWidget* parent, QPrinter& printer, const std::string& fileName) {
  if (!PrintsToFile(printer)) return true;
  const QString last = printer.outputFileName();
  const QString folder = last.isEmpty() ? QDir::homePath() : QFileInfo(last).absolutePath();
  QString proposed = QDir(folder).filePath(QString::fromStdString(fileName));
  // "Mégse" to replacing a file goes back to the file dialog, to name another file.
  for (;;) {
    const QString chosen = AskForFile(parent, proposed);
    if (chosen.isEmpty()) return false;
    if (!QFileInfo::exists(chosen) || MayReplace(parent, chosen)) {
      printer.setOutputFileName(chosen);
      return true;
    }
    proposed = chosen;
  }
}

}  // namespace velunorh
