// The main window's data location and password: the dialogs behind the start-up and
// data-source hooks, and the data-source switch.
#include <QMessageBox>
#include <QPushButton>

#include "base/string_table.h"
#include "ui/data_source_dialog.h"
#include "ui/main_window.h"
#include "ui/password_dialog.h"

namespace velunorh {

void MainWindow::UseRealDialogs(Options& options) {
  StartUpHooks& startUp = options.hooks;
  if (!startUp.chooseDataLocation) {
    startUp.chooseDataLocation = [this](int preset) {
      return velunorh::ChooseDataLocation(preset, true, state_.data.paths().floppyFolder, this);
    };
  }
  if (!startUp.checkPassword) {
    startUp.checkPassword = [this](const PublisherRecord& header) {
      return AskPassword(header, this);
    };
  }

  changeSourceHooks_ = options.changeSourceHooks;
  if (!changeSourceHooks_.chooseDataLocation) {
    changeSourceHooks_.chooseDataLocation = [this](int preset) {
      return velunorh::ChooseDataLocation(preset, false, state_.data.paths().floppyFolder, this);
    };
  }
  if (!changeSourceHooks_.confirmNewData) {
    changeSourceHooks_.confirmNewData = [this] {
      QMessageBox box(QMessageBox::NoIcon,
                      QString::fromStdString(LoadString(StringId::ProgramName)),
                      QString::fromStdString(LoadString(StringId::DataSourceHasPublishers)),
                      QMessageBox::Ok | QMessageBox::Cancel, this);
      box.button(QMessageBox::Cancel)
          ->setText(QString::fromStdString(LoadString(StringId::CancelButton)));
      box.setDefaultButton(QMessageBox::Ok);
      return box.exec() == QMessageBox::Ok;
    };
  }
  if (!changeSourceHooks_.checkPassword) changeSourceHooks_.checkPassword = startUp.checkPassword;
}

void MainWindow::ChangeDataSource() {
  if (velunorh::ChangeDataSource(state_, changeSourceHooks_)) FillPublisherList();
}

}  // namespace velunorh
