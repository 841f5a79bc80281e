#pragma once

#include <QPrinter>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/print/spooler_wait.h"

class QWidget;

namespace velunorh {

// The application's one printer setting for the run (it is not saved): what the print-setup
// dialog chose, or, until the user chooses, the system's default printer.
class ApplicationPrinter {
 public:
  static ApplicationPrinter& Instance();

  // The printer for the next print, or null when there is none (or the print system did not
  // answer: LookedUp() tells). Until the user chooses one, it is looked up off the window's
  // thread, a progress window over `parent` (null: none) showing after a moment: Qt asks the
  // print system while a printer is made and named, and a stopped one never answers.
  QPrinter* Current(QWidget* parent = nullptr);
  // How the last look-up of Current() ended.
  SpoolerWait LookedUp() const { return lookedUp_; }
  // The printer the print-setup dialog edits; confirming it makes it the current choice.
  QPrinter& ForSetup();
  void SetupConfirmed();
  // The printer the last run chose, used when it still exists. When it is gone, Current() gives
  // the default and RememberedMissing() is true until the user settles it (SettlePrinter).
  void Remember(const QString& printerName) { remembered_ = printerName; }
  bool RememberedMissing() const { return rememberedMissing_; }
  const QString& Remembered() const { return remembered_; }
  // The user agreed that Current() prints instead of the remembered printer that is gone.
  void UseInsteadOfRemembered();
  // The printer the print setup chose this run; empty when it chose none or the PDF file.
  const QString& ChosenInSetup() const { return chosenInSetup_; }
  // Forgets the choice (tests).
  void Reset();

 private:
  ApplicationPrinter() = default;
  ~ApplicationPrinter();
  // Made at its first use: a QPrinter asks the print system for its default printer, which
  // loads the print support plugin and its libraries, and the start-up never needs it.
  QPrinter& Printer();
  std::unique_ptr<QPrinter> printer_;
  std::vector<std::unique_ptr<QPrinter>> retired_;  // replaced ones a dialog may still show
  bool chosen_ = false;
  SpoolerWait lookedUp_ = SpoolerWait::kAnswered;
  QString remembered_;
  bool rememberedMissing_ = false;
  QString chosenInSetup_;
};

// The print setup on the application's printer; true when the user confirmed a choice.
bool RunPrinterSetup(QWidget* parent);

// Told that `now` prints from here on in place of the printer `before` (the margins follow).
using PrinterSwitched = std::function<void(const std::string& before, const std::string& now)>;

// The printer a print goes to, settled before anything is drawn or asked: Current(), unless
// the remembered printer is gone. Then the user is told which one is gone and which would
// print, and chooses that one, the print setup or nothing; `switched` hears of the printer
// that takes the gone one's place. nullopt: nothing is to be printed (`warn` has said why when
// the print system did not answer); a null printer: there is no printer at all.
std::optional<QPrinter*> SettlePrinter(QWidget* parent, const PrinterSwitched& switched,
                                       const std::function<void(const QString&)>& warn);

}  // namespace velunorh
