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

void ApplicationPrinter::Reset() {
  chosen_ = false;
  printer_.setOutputFileName(QString());
  printer_.setOutputFormat(QPrinter::NativeFormat);
}

}  // namespace velunorh
