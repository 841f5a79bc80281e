#include "ui/about_box.h"

#include "ui/dialog_units.h"
#include "ui/enter_key.h"
#include "ui/program_icon.h"
#include "ui_about_box.h"

namespace velunorh {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent), ui_(new Ui::AboutBoxForm) {
  ui_->setupUi(this);
  ApplyDialogUnits(this);
  PressFocusedButtonOnEnter(this);
  setWindowIcon(ProgramIcon());
  ui_->iconLabel->setPixmap(windowIcon().pixmap(32, 32));
}

AboutBox::~AboutBox() = default;

}  // namespace velunorh
