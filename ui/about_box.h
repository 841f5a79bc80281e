#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutBoxForm;
}

namespace velunorh {

// Dialog 100: the version and what it works with.
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);
  ~AboutBox() override;

 private:
  std::unique_ptr<Ui::AboutBoxForm> ui_;
};

}  // namespace velunorh
