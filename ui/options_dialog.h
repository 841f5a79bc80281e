#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "session/options_values.h"
#include "ui/print/application_printer.h"
#include "ui/show_message.h"

class QLineEdit;
class QLabel;

namespace Ui {
class OptionsDialogForm;
}

namespace velunorh {

class FieldLeaveWatcher;

// The options dialog (dialog 130): margins, date format, card version, the grid's place and
// height, and the ways to the detailed settings, the data source and the printer setup.
class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  struct Services {
    std::filesystem::path workFolder = ".";  // where a switch of card version saves and reads
    std::function<void()> changeDataSource;  // runs while the dialog stays open
    ShowMessage showMessage;                 // empty: a message box
    // Another printer chosen here prints from now on, OK or not: the caller's margins follow.
    PrinterSwitched printerSwitched;
  };

  OptionsDialog(OptionsValues values, Services services, QWidget* parent = nullptr);
  ~OptionsDialog() override;

  const OptionsValues& values() const { return values_; }

  // Grid limits in hundredths of an inch: stepping never leaves them.
  static constexpr int kBodyTopLower = 100, kBodyTopUpper = 150;
  static constexpr int kBodyHeightLower = 150, kBodyHeightUpper = 220;

 public:
  // A margin still being typed is checked first; a rejected one keeps the dialog open.
  void accept() override;

 private:
  void ConnectCommands();
  void FillCardVersionList();
  void CheckMargin(QLineEdit* field);
  bool CommitTypedMargins();
  bool CommitMargin(QLineEdit* field);
  std::string& MarginOf(QLineEdit* field);
  void StepBody(BodyValue value, QLabel* display, int direction, int lower, int upper);
  void RefreshGridDisplays();
  void ShowBodyValues();
  void ResetGrid();
  void ChangeCardVersion(int row);
  void OpenDetailedSettings();
  void OpenPrinterSetup();
  void FollowPrinter(const std::string& before, const std::string& now);
  void PrintCalibration();
  void Calibrate();

  std::unique_ptr<Ui::OptionsDialogForm> ui_;
  OptionsValues values_;
  Services services_;
  FieldLeaveWatcher* marginWatcher_ = nullptr;
};

}  // namespace velunorh
