#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

#include "base/platform.h"
#include "card/surface.h"
#include "session/change_data_source.h"
#include "session/main_state.h"

class QCheckBox;
class QPushButton;

namespace Ui {
class MainWindowForm;
}

namespace velunorh {

class PreviewPane;
class TypeAheadList;

// The program's one window (dialog 102): the publisher list, the two previews, the boxes that
// choose what is printed, and the commands.
class MainWindow : public QDialog {
  Q_OBJECT

 public:
  struct Options {
    std::filesystem::path settingsFile;
    std::filesystem::path workFolder = ".";
    std::filesystem::path floppyFolder = DefaultFloppyFolder();
    ServiceYear today;
    StartUpHooks hooks;  // empty hooks get the real dialogs
    // The data-source switch's questions; empty ones get the real dialogs, and an empty
    // password check the one of start-up.
    ChangeDataSourceHooks changeSourceHooks;
    // Tells the user what went wrong (a message box unless a test listens instead).
    std::function<void(const QString& message)> warn;
  };

  explicit MainWindow(Options options, QWidget* parent = nullptr);
  ~MainWindow() override;

  bool stopRequested() const { return state_.stopRequested; }
  MainState& state() { return state_; }
  const MainState& state() const { return state_; }

  // Operations other parts of the program use.
  void FillPublisherList();
  void RefreshSelection();
  void UpdateTitle();
  void ShowGroupCaption();
  void UpdateMonthBoxes();
  void PrintCard();
  void ShowAbout();
  // Lets the user choose another data location and reloads the data from there.
  void ChangeDataSource();

  // The options command's hand-over, given what the options dialog returned (nothing = cancel).
  struct OptionsResult {
    AppSettings settings;
    CardLayout layout;
  };
  void ApplyOptions(const std::optional<OptionsResult>& result);

 protected:
  void done(int result) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ConnectCommands();
  void SyncBoxes();
  void RepaintPreviews();
  void PaintHeaderPreview(Surface& surface, const Rect& client);
  void PaintMonthlyPreview(Surface& surface, const Rect& client);
  void FocusList();
  void Exit();
  void OpenOptions();
  void UseRealDialogs(Options& options);

  std::unique_ptr<Ui::MainWindowForm> ui_;
  MainState state_;
  TypeAheadList* list_ = nullptr;
  std::array<QCheckBox*, 12> monthBoxes_{};
  std::function<void(const QString& message)> warn_;
  bool exited_ = false;
  ChangeDataSourceHooks changeSourceHooks_;
};

}  // namespace velunorh
