#pragma once

#include <QDialog>
#include <memory>

#include "session/password_prompt.h"

namespace Ui {
class PasswordDialogForm;
}

namespace velunorh {

// Dialog 120: asks for the data's password. Every change of the entry goes to the prompt's
// rules, which decide when the dialog closes; Escape and the close box close it unaccepted.
class PasswordDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PasswordDialog(PasswordPrompt& prompt, QWidget* parent = nullptr);
  ~PasswordDialog() override;

  void setVisible(bool visible) override;

 private:
  void Apply(const PromptReaction& reaction);

  std::unique_ptr<Ui::PasswordDialogForm> ui_;
  PasswordPrompt& prompt_;
};

// The password check with the real dialog: true when the data may be used.
bool AskPassword(const PublisherRecord& header, QWidget* parent);

}  // namespace velunorh
