#include "ui/application_printer.h"

#include <QPrinterInfo>

namespace velunorh {

ApplicationPrinter& ApplicationPrinter::Instance() {
  static ApplicationPrinter instance;
  return instance;
}

ApplicationPrinter::ApplicationPrinter() : printer_(QPrinter::HighResolution) {}

QPrinter* ApplicationPrinter::Current() {
  if (chosen_) return &printer_;
  // Looked up at the first print, never at start-up: asking the print system takes time.
  if (!remembered_.isEmpty()) {
    const QPrinterInfo remembered = QPrinterInfo::printerInfo(remembered_);
    remembered_.clear();
    if (!remembered.isNull()) {
      printer_.setOutputFormat(QPrinter::NativeFormat);
      printer_.setPrinterName(remembered.printerName());
      chosen_ = true;
      return &printer_;
    }
  }
  QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return nullptr;
  printer_.setOutputFormat(QPrinter::NativeFormat);
  printer_.setPrinterName(info.printerName());
  return &printer_;
}

QPrinter& ApplicationPrinter::ForSetup() {
  if (!chosen_) Current();
  return printer_;
}

void ApplicationPrinter::SetupConfirmed() {
  chosen_ = true;
  remembered_.clear();
  chosenInSetup_ =
      printer_.outputFormat() == QPrinter::NativeFormat ? printer_.printerName() : QString();
}

void ApplicationPrinter::Reset() {
  chosen_ = false;
  remembered_.clear();
  chosenInSetup_.clear();
  printer_.setOutputFileName(QString());
  printer_.setOutputFormat(QPrinter::NativeFormat);
}

}  // namespace velunorh
