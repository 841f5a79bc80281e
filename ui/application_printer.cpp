#include "ui/application_printer.h"

#include <QPrinterInfo>

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
  // Looked up at the first print, never at start-up: asking the print system takes time.
  if (!remembered_.isEmpty()) {
    const QPrinterInfo remembered = QPrinterInfo::printerInfo(remembered_);
    remembered_.clear();
    if (!remembered.isNull()) {
      Printer().setOutputFormat(QPrinter::NativeFormat);
      Printer().setPrinterName(remembered.printerName());
      chosen_ = true;
      return &Printer();
    }
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

void ApplicationPrinter::SetupConfirmed() {
  chosen_ = true;
  remembered_.clear();
  chosenInSetup_ =
      Printer().outputFormat() == QPrinter::NativeFormat ? Printer().printerName() : QString();
}

void ApplicationPrinter::Reset() {
  chosen_ = false;
  remembered_.clear();
  chosenInSetup_.clear();
  Printer().setOutputFileName(QString());
  Printer().setOutputFormat(QPrinter::NativeFormat);
}

}  // namespace velunorh
