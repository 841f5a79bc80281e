#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "companion/publisher_record.h"

namespace velunorh {

// What the prompt's window must do after an event.
struct PromptReaction {
  bool showSorry = false;  // string 103 as the prompt line and as the title
  bool close = false;
};

// The password prompt's rules, without its window. It accepts only on a change of the entry
// that makes it equal to the stored password; the OK action never compares, it only counts a
// failure: the first one is shown, the next event closes the prompt.
class PasswordPrompt {
 public:
  // Entries longer than this run the OK action on every change.
  static constexpr std::size_t kMaxQuietLength = 13;

  // `storedPassword`: the decoded header password in the code page of the data files.
  explicit PasswordPrompt(std::string storedPassword) : stored_(std::move(storedPassword)) {}

  // The entry's whole text (UTF-8) after any change: a typed or deleted character, a paste, a cut.
  PromptReaction TextChanged(std::string_view entry);
  // The OK button or Enter.
  PromptReaction OkAction();

  bool accepted() const { return accepted_; }
  bool failedOnce() const { return failedOnce_; }
  bool closed() const { return closed_; }

  static std::string PromptText();  // string 102
  static std::string SorryText();   // string 103

 private:
  void RunOkAction(PromptReaction& reaction);
  bool Matches(std::string_view entry) const;

  std::string stored_;
  bool accepted_ = false;
  bool failedOnce_ = false;
  bool closed_ = false;
};

// The number of characters of a UTF-8 text (code points, as the user typed them).
std::size_t CharacterCount(std::string_view utf8);

// True when the data may be used. A header password of exactly one blank means none, and
// `runPrompt` is not called; otherwise `runPrompt` shows the prompt modally until it closes.
bool CheckPassword(const PublisherRecord& header,
                   const std::function<void(PasswordPrompt&)>& runPrompt);

}  // namespace velunorh
