#include "ui/main_window.h"

#include <QIcon>

#include "app/string_table.h"

namespace velunorh {

MainWindow::MainWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromStdString(LoadString(147)));
  setWindowIcon(QIcon(":/velunorh.xpm"));
  resize(720, 405);
}

void MainWindow::done(int result) {
  Exit();
  QDialog::done(result);
}

void MainWindow::Exit() {
  if (exited_) return;
  exited_ = true;
}

}  // namespace velunorh
