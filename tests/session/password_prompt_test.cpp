#include "session/password_prompt.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/codepage.h"

namespace velunorh {
namespace {

// One thing the user does in the prompt. Typing is split into one change per character.
struct Action {
  enum Kind { kType, kPaste, kBackspace, kOk } kind;
  std::string text;
};
Action Type(std::string text) {
  return {Action::kType, std::move(text)};
}
Action Paste(std::string text) {
  return {Action::kPaste, std::move(text)};
}
Action Backspace() {
  return {Action::kBackspace, ""};
}
Action Ok() {
  return {Action::kOk, ""};
}

std::vector<std::string> Characters(const std::string& utf8) {
  std::vector<std::string> out;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) == 0x80 && !out.empty())
      out.back() += static_cast<char>(c);
    else
      out.emplace_back(1, static_cast<char>(c));
  }
  return out;
}

struct Outcome {
  bool accepted = false;
  int closedAtStep = 0;  // 1-based number of the change or OK that closed the prompt; 0 = open
  std::string lastLine;  // the prompt line as the window would show it
};

// Feeds the actions as the window does: every change of the entry and every OK, until closed.
Outcome RunPrompt(const std::string& storedUtf8, const std::vector<Action>& actions) {
  PasswordPrompt prompt(Utf8ToCodePage(storedUtf8));
  Outcome outcome;
  outcome.lastLine = PasswordPrompt::PromptText();
  std::string entry;
  int step = 0;
  auto apply = [&](PromptReaction reaction) {
    ++step;
    if (reaction.showSorry) outcome.lastLine = PasswordPrompt::SorryText();
    if (reaction.close) outcome.closedAtStep = step;
  };
  for (const auto& action : actions) {
    switch (action.kind) {
      case Action::kType:
        for (const auto& c : Characters(action.text)) {
          if (outcome.closedAtStep) break;
          entry += c;
          apply(prompt.TextChanged(entry));
        }
        break;
      case Action::kPaste:
        entry += action.text;
        if (!outcome.closedAtStep) apply(prompt.TextChanged(entry));
        break;
      case Action::kBackspace: {
        auto chars = Characters(entry);
        if (!chars.empty()) entry.resize(entry.size() - chars.back().size());
        if (!outcome.closedAtStep) apply(prompt.TextChanged(entry));
        break;
      }
      case Action::kOk:
        if (!outcome.closedAtStep) apply(prompt.OkAction());
        break;
    }
  }
  outcome.accepted = prompt.accepted();
  EXPECT_EQ(prompt.closed(), outcome.closedAtStep != 0);
  return outcome;
}

const std::string k14 = "abcdefghijklmn";
const std::string k15 = k14 + "o";
const std::string k16 = k15 + "p";
// Fourteen accented characters: 28 bytes of UTF-8, 14 bytes in the data's code page.
const std::string kAccented14 = "áéíóöőúüűÁÉÍÓÖ";

TEST(PasswordPrompt, Table) {
  struct Case {
    const char* name;
    std::string stored;
    std::vector<Action> actions;
    bool accepted;
    int closedAtStep;
    bool sorryShown;
  } cases[] = {
      {"typed exactly: closes on the last key", "titok", {Type("titok")}, true, 5, false},
      {"case differs: stays open", "Titok", {Type("titok")}, false, 0, false},
      {"case differs, then OK, then a key",
       "Titok",
       {Type("titok"), Ok(), Type("x")},
       false,
       7,
       true},
      {"OK on empty, then the first key", "titok", {Ok(), Type("t")}, false, 2, true},
      {"OK on empty, then a one-letter password", "x", {Ok(), Type("x")}, true, 2, true},
      {"OK twice", "titok", {Ok(), Ok()}, false, 2, true},
      {"OK never compares, even to an empty password", "", {Ok(), Ok()}, false, 2, true},
      {"after a failure a deletion closes",
       "titok",
       {Type("tx"), Ok(), Backspace()},
       false,
       4,
       true},
      {"a wrong key deleted again",
       "titok",
       {Type("tx"), Backspace(), Type("itok")},
       true,
       7,
       false},
      {"14 characters", k14, {Type(k14)}, true, 14, true},
      {"15 characters: the 14th fails, the 15th matches", k15, {Type(k15)}, true, 15, true},
      {"16 characters: closed on the 15th", k16, {Type(k16)}, false, 15, true},
      {"16 characters pasted at once", k16, {Paste(k16)}, true, 1, true},
      {"accented letters typed one by one", "Jelszó", {Type("Jelszó")}, true, 6, false},
      {"the length rule counts characters, not bytes",
       kAccented14,
       {Type(kAccented14)},
       true,
       14,
       true},
      {"13 wrong characters stay quiet", "titok", {Type("ááááááááááááá")}, false, 0, false},
      {"a character outside the code page is no \"??\"", "??", {Type("ñ")}, false, 0, false},
  };
  for (const auto& c : cases) {
    Outcome outcome = RunPrompt(c.stored, c.actions);
    EXPECT_EQ(outcome.accepted, c.accepted) << c.name;
    EXPECT_EQ(outcome.closedAtStep, c.closedAtStep) << c.name;
    EXPECT_EQ(outcome.lastLine, c.sorryShown ? "Bocsánat!" : "Add meg a Jelszót") << c.name;
  }
}

TEST(PasswordPrompt, NothingHappensOnceClosed) {
  PasswordPrompt prompt("x");
  EXPECT_TRUE(prompt.TextChanged("x").close);
  PromptReaction after = prompt.OkAction();
  EXPECT_FALSE(after.close || after.showSorry);
  after = prompt.TextChanged("");
  EXPECT_FALSE(after.close || after.showSorry);
  EXPECT_TRUE(prompt.accepted());
}

TEST(CheckPassword, OneBlankAsksNothingAnythingElseAsks) {
  struct Case {
    std::string raw;  // decoded header bytes
    bool prompts;
  } cases[] = {{" ", false}, {"  ", true}, {"", true}, {"titok", true}};
  for (const auto& c : cases) {
    PublisherRecord header;
    header.SetRawText(PublisherRecord::kAccessPassword, c.raw);
    int prompts = 0;
    bool result = CheckPassword(header, [&](PasswordPrompt& prompt) {
      ++prompts;
      prompt.TextChanged("titok");
    });
    EXPECT_EQ(prompts, c.prompts ? 1 : 0) << '"' << c.raw << '"';
    EXPECT_EQ(result, !c.prompts || c.raw == "titok") << '"' << c.raw << '"';
  }
}

TEST(CheckPassword, ClosingWithoutAMatchRefuses) {
  PublisherRecord header;
  header.SetRawText(PublisherRecord::kAccessPassword, Utf8ToCodePage("jelszó"));
  EXPECT_FALSE(CheckPassword(header, [](PasswordPrompt&) {}));
  EXPECT_TRUE(CheckPassword(header, [](PasswordPrompt& p) { p.TextChanged("jelszó"); }));
}

}  // namespace
}  // namespace velunorh
