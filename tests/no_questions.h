#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/user_prompts.h"

namespace velunorh::test {

// Answers a session's questions for tests that are not about them: every password is accepted,
// and being asked for a data location or to take new data is a fault. A message is a fault too,
// unless the test keeps the messages to read them.
class NoQuestions : public UserPrompts {
 public:
  enum class Messages { kFail, kKeep };
  explicit NoQuestions(Messages messages = Messages::kFail) : keep_(messages == Messages::kKeep) {}

  std::optional<int> ChooseDataLocation(int, bool) override {
    ADD_FAILURE() << "asked for a data location";
    return std::nullopt;
  }
  bool CheckPassword(const PublisherRecord&) override { return true; }
  bool ConfirmNewData() override {
    ADD_FAILURE() << "asked to take new data";
    return false;
  }
  void ShowMessage(const std::string& message) override {
    if (!keep_) ADD_FAILURE() << message;
    messages.push_back(message);
  }
  // Waiting for another copy's lock is a message too; the answer is `waitToSave`.
  bool WaitToSave(const std::string& message, const std::function<bool()>& tryAgain) override {
    ShowMessage(message);
    return waitToSave ? waitToSave(tryAgain) : false;
  }

  // A print over lines already on a card is answered from `overprintAnswers` in order; asked
  // with none left is a fault, and cancels.
  OverprintAnswer AskOverprint(const std::string& question) override {
    overprintQuestions.push_back(question);
    if (overprintAnswers.empty()) {
      ADD_FAILURE() << "asked to print over a card: " << question;
      return OverprintAnswer::kCancel;
    }
    const OverprintAnswer answer = overprintAnswers.front();
    overprintAnswers.erase(overprintAnswers.begin());
    return answer;
  }

  std::vector<std::string> messages;
  std::vector<OverprintAnswer> overprintAnswers;
  std::vector<std::string> overprintQuestions;
  // How a wait for the ledger's lock is answered; by default the user gives up at once.
  std::function<bool(const std::function<bool()>& tryAgain)> waitToSave;

 private:
  bool keep_;
};

}  // namespace velunorh::test
