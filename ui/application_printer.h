#pragma once

#include <QPrinter>
#include <memory>

namespace velunorh {

// The application's one printer setting for the run (it is not saved): what the print-setup
// dialog chose, or, until the user chooses, the system's default printer.
class ApplicationPrinter {
 public:
  static ApplicationPrinter& Instance();

  // The printer for the next print, or null when there is no printer at all.
  QPrinter* Current();
  // The printer the print-setup dialog edits; confirming it makes it the current choice.
  QPrinter& ForSetup();
  void SetupConfirmed();
  // The printer the last run chose, used when it still exists (otherwise the default is).
  void Remember(const QString& printerName) { remembered_ = printerName; }
  // The printer the print setup chose this run; empty when it chose none or the PDF file.
  const QString& ChosenInSetup() const { return chosenInSetup_; }
  // Forgets the choice (tests).
  void Reset();

 private:
  ApplicationPrinter() = default;
  // Made at its first use: a QPrinter asks the print system for its default printer, which
  // loads the print support plugin and its libraries, and the start-up never needs it.
  QPrinter& Printer();
  std::unique_ptr<QPrinter> printer_;
  bool chosen_ = false;
  QString remembered_;
  QString chosenInSetup_;
};

}  // namespace velunorh
