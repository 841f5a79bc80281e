#include "ui/print/application_printer.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <atomic>

#include "base/string_table.h"
#include "ui/print/print_job.h"
#include "ui/print/print_spooler.h"
#include "ui/qt_text.h"
#include "ui/show_message.h"

namespace velunorh {

ApplicationPrinter::~ApplicationPrinter() {
  // A print given up on may still draw on it while the program ends.
  if (printer_ && PrinterInHandOver(*printer_)) static_cast<void>(printer_.release());
}

ApplicationPrinter& ApplicationPrinter::Instance() {
  static ApplicationPrinter instance;
  return instance;
}

QPrinter& ApplicationPrinter::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

QPrinter* ApplicationPrinter::Current(QWidget* parent) {
  lookedUp_ = SpoolerWait::kAnswered;
  if (chosen_) return &Printer();
  // Looked up at the first print, never at start-up: asking the print system takes time. A
  // remembered printer that is gone stays remembered until the user settles it (SettlePrinter).
  rememberedMissing_ = false;
  // A print given up on may still draw on the printer made last: it stays until that ends.
  if (printer_ && PrinterInHandOver(*printer_)) {
    lookedUp_ = SpoolerWait::kSilent;
    return nullptr;
  }
  struct Found {
    std::atomic<bool> abandoned{false};
    bool remembered = false;
    QString name;
    std::unique_ptr<QPrinter> printer;  // made and named off the window's thread
  };
  auto found = std::make_shared<Found>();
  const QString remembered = remembered_;
  lookedUp_ = WaitForSpooler(parent, Text(StringId::PrinterLookupLabel), [found, remembered] {
    found->remembered = !remembered.isEmpty() && SpoolerWatch::Knows(remembered);
    found->name = found->remembered ? remembered : SpoolerWatch::DefaultPrinter();
    // Given up on, no printer is made: the program may be ending meanwhile.
    if (found->name.isEmpty() || found->abandoned) return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::NativeFormat);
    printer->setPrinterName(found->name);
    // A name Qt does not take leaves Qt's default in place: never printed there unasked.
    if (printer->printerName() == found->name) found->printer = std::move(printer);
  });
  if (lookedUp_ != SpoolerWait::kAnswered) {
    found->abandoned = true;
    return nullptr;
  }
  if (found->remembered && found->printer) {
    if (printer_) retired_.push_back(std::move(printer_));
    printer_ = std::move(found->printer);
    remembered_.clear();
    chosen_ = true;
    return printer_.get();
  }
  rememberedMissing_ = !remembered_.isEmpty();
  if (found->remembered || !found->printer) return nullptr;
  // The printer made last may still be shown (the print preview prints through here): it is
  // kept when it is the same one, and kept alive for the run when the default changed.
  if (printer_ && printer_->outputFormat() == QPrinter::NativeFormat &&
      printer_->outputFileName().isEmpty() && printer_->printerName() == found->name)
    return printer_.get();
  if (printer_) retired_.push_back(std::move(printer_));
  printer_ = std::move(found->printer);
  return printer_.get();
}

QPrinter& ApplicationPrinter::ForSetup() {
  // The printer the last print looked up stays the one the setup edits.
  if (!chosen_ && !printer_) Current();
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
  // The dialog would change a printer that a print given up on still draws on.
  if (PrinterInHandOver(printer.ForSetup())) {
    QMessageBox::warning(parent, Text(StringId::ProgramName),
                         PrintOutcomeMessage(PrintOutcome::kStillHandingOver, &printer.ForSetup()));
    return false;
  }
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

std::optional<QPrinter*> SettlePrinter(QWidget* parent, const PrinterSwitched& switched,
                                       const std::function<void(const QString&)>& warn) {
  ApplicationPrinter& application = ApplicationPrinter::Instance();
  QPrinter* printer = application.Current(parent);
  if (application.LookedUp() == SpoolerWait::kCancelled) return std::nullopt;
  if (application.LookedUp() == SpoolerWait::kSilent) {
    warn(Text(StringId::PrinterLookupSilent)
             .arg(SpoolerWaitLimits::Current().giveUpAfter.count() / 1000));
    return std::nullopt;
  }
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
    if (switched) switched(missing.toStdString(), printer->printerName().toStdString());
    return printer;
  }
  if (pressed == setup && RunPrinterSetup(parent)) {
    // A PDF file chosen names no printer: the margins stay.
    if (switched) switched(missing.toStdString(), application.ChosenInSetup().toStdString());
    return application.Current(parent);
  }
  return std::nullopt;
}

}  // namespace velunorh
