#include "session/password_prompt.h"

#include "base/codepage.h"
#include "base/string_table.h"

namespace velunorh {

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string PasswordPrompt::PromptText() {
  return LoadString(StringId::PasswordPrompt);
}

std::string PasswordPrompt::SorryText() {
  return LoadString(StringId::PasswordSorry);
}

PromptReaction PasswordPrompt::TextChanged(std::string_view entry) {
  PromptReaction reaction;
  if (closed_) return reaction;
  if (failedOnce_) RunOkAction(reaction);
  // Compared even when the prompt is already closing: the change that closes it may be the
  // one that completes the password.
  if (Matches(entry)) {
    accepted_ = true;
    reaction.close = true;
  }
  if (CharacterCount(entry) > kMaxQuietLength) RunOkAction(reaction);
  closed_ = reaction.close;
  return reaction;
}

PromptReaction PasswordPrompt::OkAction() {
  PromptReaction reaction;
  if (closed_) return reaction;
  RunOkAction(reaction);
  closed_ = reaction.close;
  return reaction;
}

void PasswordPrompt::RunOkAction(PromptReaction& reaction) {
  reaction.showSorry = true;
  if (failedOnce_) reaction.close = true;
  failedOnce_ = true;
}

// Byte for byte in the data's code page. A typed character the code page cannot hold never
// matches (the conversion would turn it into a '?' that a stored '?' might equal).
bool PasswordPrompt::Matches(std::string_view entry) const {
  const std::string bytes = Utf8ToCodePage(entry);
  if (bytes != stored_) return false;
  return CodePageToUtf8(bytes) == entry;
}

bool CheckPassword(const PublisherRecord& header,
                   const std::function<void(PasswordPrompt&)>& runPrompt) {
  const std::string stored = header.accessPassword();
  if (stored == " ") return true;
  PasswordPrompt prompt(stored);
  if (runPrompt) runPrompt(prompt);
  return prompt.accepted();
}

}  // namespace velunorh
