#include "ui/data_source_dialog.h"

#include "companion/drive_test.h"
#include "ui/dialog_units.h"
#include "ui/enter_key.h"
#include "ui_data_source_dialog.h"

namespace velunorh {

DataSourceDialog::DataSourceDialog(int preset, bool showWarning, std::filesystem::path floppyFolder,
                                   QWidget* parent)
    : QDialog(parent),
      ui_(new Ui::DataSourceDialogForm),
      floppyFolder_(std::move(floppyFolder)),
      choice_(preset) {
  ui_->setupUi(this);
  ApplyDialogUnits(this);
  PressFocusedButtonOnEnter(this);
  (preset == 1 ? ui_->floppyRadio : ui_->currentRadio)->setChecked(true);
  ui_->warningLabel->setVisible(showWarning);
}

DataSourceDialog::~DataSourceDialog() = default;

void DataSourceDialog::accept() {
  ui_->warningLabel->hide();
  const int chosen = ui_->floppyRadio->isChecked() && !ui_->currentRadio->isChecked() ? 1 : 0;
  if (!DriveTest(chosen, floppyFolder_)) {
    ui_->warningLabel->show();
    return;
  }
  choice_ = chosen;
  QDialog::accept();
}

std::optional<int> ChooseDataLocation(int preset, bool showWarning,
                                      const std::filesystem::path& floppyFolder, QWidget* parent) {
  DataSourceDialog dialog(preset, showWarning, floppyFolder, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.choice();
}

}  // namespace velunorh
