#pragma once

#include <QDialog>

namespace velunorh {

// The program's one window (dialog 102).
class MainWindow : public QDialog {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  bool stopRequested() const { return stopRequested_; }

 protected:
  void done(int result) override;

 private:
  void Exit();
  bool stopRequested_ = false;
  bool exited_ = false;
};

}  // namespace velunorh
