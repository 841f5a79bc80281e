#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>
#include <optional>

namespace Ui {
class DataSourceDialogForm;
}

namespace velunorh {

// Dialog 118: where the data lies, the working folder (0) or drive A: (1). OK is taken only
// for a location that passes the drive test; otherwise the warning shows and the dialog stays.
class DataSourceDialog : public QDialog {
  Q_OBJECT

 public:
  DataSourceDialog(int preset, bool showWarning, std::filesystem::path floppyFolder,
                   QWidget* parent = nullptr);
  ~DataSourceDialog() override;

  int choice() const { return choice_; }

 public Q_SLOTS:
  void accept() override;

 private:
  std::unique_ptr<Ui::DataSourceDialogForm> ui_;
  std::filesystem::path floppyFolder_;
  int choice_;
};

// Shows the dialog modally: the confirmed location, or nothing on cancel.
std::optional<int> ChooseDataLocation(int preset, bool showWarning,
                                      const std::filesystem::path& floppyFolder, QWidget* parent);

}  // namespace velunorh
