#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>

#include "session/user_prompts.h"

namespace velunorh {

// The session's questions answered with the program's dialogs.
class DialogPrompts : public UserPrompts {
 public:
  // How often a save waiting for another copy's lock is tried again.
  static constexpr int kSaveRetryInterval = 500;  // ms

  using Warn = std::function<void(const std::string& message)>;
  DialogPrompts(QWidget* parent, std::filesystem::path floppyFolder, Warn warn)
      : parent_(parent), floppyFolder_(std::move(floppyFolder)), warn_(std::move(warn)) {}

  std::optional<int> ChooseDataLocation(int preset, bool atStartUp) override;
  bool CheckPassword(const PublisherRecord& header) override;
  bool ConfirmNewData() override;
  void ShowMessage(const std::string& message) override { warn_(message); }
  OverprintAnswer AskOverprint(const std::string& question) override;
  bool WaitToSave(const std::string& message, const std::function<bool()>& tryAgain) override;

 private:
  QWidget* parent_;
  std::filesystem::path floppyFolder_;
  Warn warn_;
};

}  // namespace velunorh
