#include "ui/password_dialog.h"

#include <QPushButton>
#include <QScreen>

#include "ui/dialog_units.h"
#include "ui/enter_key.h"
#include "ui_password_dialog.h"

namespace velunorh {

PasswordDialog::PasswordDialog(PasswordPrompt& prompt, QWidget* parent)
    : QDialog(parent), ui_(new Ui::PasswordDialogForm), prompt_(prompt) {
  ui_->setupUi(this);
  ApplyDialogUnits(this);
  PressFocusedButtonOnEnter(this);
  ui_->promptLabel->setText(QString::fromStdString(PasswordPrompt::PromptText()));
  // textChanged rather than textEdited: a paste and a cut are changes too.
  connect(ui_->passwordEdit, &QLineEdit::textChanged, this,
          [this](const QString& text) { Apply(prompt_.TextChanged(text.toStdString())); });
  connect(ui_->okButton, &QPushButton::clicked, this, [this] { Apply(prompt_.OkAction()); });
  ui_->passwordEdit->setFocus();
}

PasswordDialog::~PasswordDialog() = default;

// At start-up the owner is a window not yet shown: Qt would centre the prompt on its unplaced
// frame, so the prompt centres itself on the screen then.
void PasswordDialog::setVisible(bool visible) {
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (visible && !isVisible() && (!owner || !owner->isVisible())) {
    if (QScreen* where = screen()) {
      QRect frame(QPoint(), size());
      frame.moveCenter(where->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  QDialog::setVisible(visible);
}

void PasswordDialog::Apply(const PromptReaction& reaction) {
  if (reaction.showSorry) {
    const QString sorry = QString::fromStdString(PasswordPrompt::SorryText());
    ui_->promptLabel->setText(sorry);
    setWindowTitle(sorry);
  }
  if (reaction.close) done(prompt_.accepted() ? Accepted : Rejected);
}

bool AskPassword(const PublisherRecord& header, QWidget* parent) {
  return CheckPassword(header, [parent](PasswordPrompt& prompt) {
    PasswordDialog dialog(prompt, parent);
    dialog.exec();
  });
}

}  // namespace velunorh
