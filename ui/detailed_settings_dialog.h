#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "card/calibration_sheet.h"
#include "card/card_layout.h"
#include "ui/show_message.h"

class QLineEdit;

namespace Ui {
class DetailedSettingsDialogForm;
}

namespace velunorh {

class FieldLeaveWatcher;

// Every print position of one card version typed by hand (dialog 131). Works on a copy of the
// layout, which the caller takes back after OK.
class DetailedSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  DetailedSettingsDialog(const CardLayout& layout, int cardVersion, ShowMessage showMessage = {},
                         QWidget* parent = nullptr);
  ~DetailedSettingsDialog() override;

  const CardLayout& layout() const { return layout_; }

  // Checks what was typed into a field that was never left (Enter, or OK clicked before the
  // check ran); a rejected value keeps the dialog open. Then every field goes into its slot.
  void accept() override;

  static constexpr int kFieldCount = 2 * kHeaderPositionCount + kBodyValueCount;

  // The label of each position as this dialog shows it for the card version; "" for a field
  // the version hides.
  static CalibrationNames FieldNames(int cardVersion);

 private:
  void NameFields();
  void FillFields();
  bool CheckField(QLineEdit* field);
  void ResetToDefaults();

  // The field of each slot, in the order of the layout: X and Y of the twelve header
  // positions, then the nine body values.
  QLineEdit* FieldOfHeaderX(int i) const { return fields_[2 * i]; }
  QLineEdit* FieldOfHeaderY(int i) const { return fields_[2 * i + 1]; }
  QLineEdit* FieldOfBody(int j) const { return fields_[2 * kHeaderPositionCount + j]; }

  std::unique_ptr<Ui::DetailedSettingsDialogForm> ui_;
  CardLayout layout_;
  int cardVersion_;
  bool newForm_;
  ShowMessage showMessage_;
  std::array<QLineEdit*, kFieldCount> fields_{};
  FieldLeaveWatcher* watcher_ = nullptr;
};

}  // namespace velunorh
