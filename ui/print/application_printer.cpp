#include "ui/print/application_printer.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>

#include "base/string_table.h"
#include "ui/qt_text.h"
#include "ui/show_message.h"

namespace velunorh {

ApplicationPrinter& ApplicationPrinter::Instance() {
  static ApplicationPrinter instance;
  return instance;
}

QPrinter& ApplicationPrinter::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

QPrinter* ApplicationPrinter::Current() {
  if (chosen_) return &Printer();
  // Looked up at the first print, never at start-up: asking the print system takes time. A
  // remembered printer that is gone stays remembered until the user settles it (SettlePrinter).
  rememberedMissing_ = false;
  if (!remembered_.isEmpty()) {
    const QPrinterInfo remembered = QPrinterInfo::printerInfo(remembered_);
    if (!remembered.isNull()) {
      remembered_.clear();
      Printer().setOutputFormat(QPrinter::NativeFormat);
      Printer().setPrinterName(remembered.printerName());
      chosen_ = true;
      return &Printer();
    }
    rememberedMissing_ = true;
  }
  QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return nullptr;
  Printer().setOutputFormat(QPrinter::NativeFormat);
  Printer().setPrinterName(info.printerName());
  return &Printer();
}

QPrinter& ApplicationPrinter::ForSetup() {
  if (!chosen_) Current();
  return Printer();
}

void ApplicationPrinter::UseInsteadOfRemembered() {
  chosen_ = true;
  remembered_.clear();
  rememberedMissing_ = false;
}

void ApplicationPrinter::SetupConfirmed() {
  chosen_ = true;
  remembered_.clear();
  rememberedMissing_ = false;
  chosenInSetup_ =
      Printer().outputFormat() == QPrinter::NativeFormat ? Printer().printerName() : QString();
}

void ApplicationPrinter::Reset() {
  chosen_ = false;
  remembered_.clear();
  rememberedMissing_ = false;
  chosenInSetup_.clear();
  Printer().setOutputFileName(QString());
  Printer().setOutputFormat(QPrinter::NativeFormat);
}

// The application's printer, set up but not printed: no page range or selection to choose.
// The PDF entry of the printer list stays, as the output for users without a printer.
bool RunPrinterSetup(QWidget* parent) {
  ApplicationPrinter& printer = ApplicationPrinter::Instance();
  QPrintDialog dialog(&printer.ForSetup(), parent);
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                    QAbstractPrintDialog::PrintCollateCopies);
  if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
      ok->setText(Text(StringId::OkButton));
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  printer.SetupConfirmed();
  return true;
}

std::optional<QPrinter*> SettlePrinter(QWidget* parent) {
  ApplicationPrinter& application = ApplicationPrinter::Instance();
  QPrinter* printer = application.Current();
  if (!application.RememberedMissing()) return printer;
  // The user chose that printer: another one prints only when the user says so.
  const QString missing = application.Remembered();
  const QString question =
      printer ? Text(StringId::RememberedPrinterGone).arg(missing, printer->printerName())
              : Text(StringId::RememberedPrinterGoneNoOther).arg(missing);
  std::vector<QuestionButton> buttons;
  if (printer)
    buttons.push_back({Text(StringId::PrintOnOtherPrinter).arg(printer->printerName()),
                       QMessageBox::AcceptRole, "printOnOtherPrinter"});
  const int setup = static_cast<int>(buttons.size());
  buttons.push_back({Text(StringId::PrinterSetupButton), QMessageBox::ActionRole, "printerSetup"});
  buttons.push_back({Text(StringId::CancelButton), QMessageBox::RejectRole});
  const int pressed =
      AskQuestion(parent, question, "missingPrinterQuestion", buttons, setup, setup + 1);
  if (printer && pressed == 0) {
    application.UseInsteadOfRemembered();
    return printer;
  }
  if (pressed == setup && RunPrinterSetup(parent)) return application.Current();
  return std::nullopt;
}

}  // namespace velunorh
