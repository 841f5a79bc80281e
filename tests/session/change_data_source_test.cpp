#include "session/change_data_source.h"

#include <gtest/gtest.h>

#include "publisher_fixtures.h"
#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh {
namespace {

using test::Publishers;
using test::WritePublisherFile;

// Answers the data-source dialog, the question before new data and the password prompt from a
// script, counting what was asked.
class ScriptedPrompts : public UserPrompts {
 public:
  std::optional<int> choice;
  bool confirm = true;
  bool password = true;
  std::vector<int> presets;
  int questions = 0;
  int passwordPrompts = 0;

  std::optional<int> ChooseDataLocation(int preset, bool) override {
    presets.push_back(preset);
    return choice;
  }
  OverprintAnswer AskOverprint(const std::string&) override { return OverprintAnswer::kCancel; }
  bool CheckPassword(const PublisherRecord&) override {
    ++passwordPrompts;
    return password;
  }
  bool ConfirmNewData() override {
    ++questions;
    return confirm;
  }
  void ShowMessage(const std::string& message) override { ADD_FAILURE() << message; }
  bool WaitToSave(const std::string& message, const std::function<bool()>&) override {
    ADD_FAILURE() << message;
    return false;
  }
};

// The working folder holds two publishers and a previous year; the floppy folder is what each
// test puts there.
class ChangeDataSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(floppy_);
    tools::Congregation c;
    c.current = Publishers({"Anna", "Béla"});
    c.previous = Publishers({"Anna"});
    tools::WriteCongregation(c, work_);
  }

  void StartUpAt(int location) {
    state_.settingsFile = dir_ / "velunorh.INI";
    if (location != 0) test::WriteText(state_.settingsFile, "[Data Location]\nDrive=1\n");
    state_.workFolder = work_;
    state_.data.paths().floppyFolder = floppy_;
    ScriptedPrompts startUp;  // the location is usable and there is no password: nothing asked
    ReadStateAtStart(state_, ServiceYear::FromDate(2026, 11), startUp);
    ASSERT_FALSE(state_.stopRequested);
  }

  // Answers the dialog with `choice`, string 131's question with `confirm` and the password
  // prompt with `password`, counting the questions.
  bool Change(std::optional<int> choice, bool confirm = true, bool password = true) {
    prompts_.choice = choice;
    prompts_.confirm = confirm;
    prompts_.password = password;
    prompts_.presets = presets_;
    prompts_.questions = questions_;
    prompts_.passwordPrompts = passwordPrompts_;
    const bool refill = SwitchDataLocation(state_, prompts_);
    presets_ = prompts_.presets;
    questions_ = prompts_.questions;
    passwordPrompts_ = prompts_.passwordPrompts;
    return refill;
  }

  std::string FirstGivenName() { return state_.data.current[1].givenName(); }

  test::TempDir dir_;
  std::filesystem::path work_ = dir_ / "work";
  std::filesystem::path floppy_ = dir_ / "floppy";
  MainState state_;
  ScriptedPrompts prompts_;
  std::vector<int> presets_;
  int questions_ = 0;
  int passwordPrompts_ = 0;
};

TEST_F(ChangeDataSourceTest, CancelOrTheSameLocationChangesNothing) {
  StartUpAt(0);
  WritePublisherFile(work_, Publishers({"Zoltán"}));  // a reload would show it
  for (std::optional<int> choice : {std::optional<int>(), std::optional<int>(0)}) {
    EXPECT_FALSE(Change(choice));
    EXPECT_EQ(state_.settings.dataLocation, 0);
    EXPECT_EQ(FirstGivenName(), "Anna");
    EXPECT_EQ(questions_, 0);
    EXPECT_FALSE(state_.settingsChanged);
  }
  EXPECT_EQ(presets_, (std::vector<int>{0, 0}));
}

TEST_F(ChangeDataSourceTest, ASourceWithoutDataChangesTheLocationOnly) {
  auto header = tools::PublisherFileBytes(Publishers({}));
  struct Case {
    const char* name;
    std::size_t fileSize;  // 0 = no file
  } cases[] = {{"no file", 0}, {"header only", header.size()}, {"500 bytes", 500}};
  for (const auto& c : cases) {
    StartUpAt(0);
    std::filesystem::remove(floppy_ / "tdat7.bin");
    if (c.fileSize) {
      auto bytes = header;
      bytes.resize(c.fileSize);
      tools::WriteBytesFile(floppy_ / "tdat7.bin", bytes);
    }
    EXPECT_TRUE(Change(1)) << c.name;
    EXPECT_EQ(state_.settings.dataLocation, 1) << c.name;
    EXPECT_EQ(state_.data.paths().dataLocation, 1) << c.name;
    EXPECT_TRUE(state_.settingsChanged) << c.name;
    EXPECT_EQ(state_.data.current.count, 3) << c.name;
    EXPECT_EQ(questions_, 0) << c.name;
  }
}

TEST_F(ChangeDataSourceTest, ASourceWithDataAsksBeforeReplacingPublishers) {
  struct Case {
    const char* name;
    bool confirm;
    int location;
    const char* firstName;
  } cases[] = {{"confirmed", true, 1, "Csaba"}, {"declined", false, 0, "Anna"}};
  for (const auto& c : cases) {
    StartUpAt(0);
    WritePublisherFile(floppy_, Publishers({"Csaba", "Dóra", "Ede"}));
    questions_ = 0;
    EXPECT_TRUE(Change(1, c.confirm)) << c.name;  // the list is refilled either way
    EXPECT_EQ(questions_, 1) << c.name;
    EXPECT_EQ(state_.settings.dataLocation, c.location) << c.name;
    EXPECT_EQ(state_.data.paths().dataLocation, c.location) << c.name;
    EXPECT_EQ(state_.settingsChanged, c.confirm) << c.name;
    EXPECT_EQ(FirstGivenName(), c.firstName) << c.name;
  }
}

TEST_F(ChangeDataSourceTest, OneByteOverFiveHundredIsData) {
  std::filesystem::remove(work_ / "tdat7.bin");  // only the header record: nothing to lose
  StartUpAt(0);
  ASSERT_EQ(state_.data.current.count, 1);
  auto bytes = tools::PublisherFileBytes(Publishers({"Csaba"}));
  bytes.resize(501);  // the header and a partial record
  tools::WriteBytesFile(floppy_ / "tdat7.bin", bytes);
  EXPECT_TRUE(Change(1));
  EXPECT_EQ(questions_, 0);
  EXPECT_EQ(passwordPrompts_, 1);
  EXPECT_EQ(state_.settings.dataLocation, 1);
}

TEST_F(ChangeDataSourceTest, ARefusedPasswordBringsBackTheOldDataWithoutAPrompt) {
  StartUpAt(0);
  ASSERT_EQ(state_.data.previous.count, 2);
  passwordPrompts_ = 0;
  WritePublisherFile(floppy_, Publishers({"Csaba", "Dóra"}, "titok"));
  EXPECT_TRUE(Change(1, true, false));
  EXPECT_EQ(passwordPrompts_, 1);
  EXPECT_EQ(state_.settings.dataLocation, 0);
  EXPECT_EQ(state_.data.paths().dataLocation, 0);
  EXPECT_FALSE(state_.settingsChanged);
  EXPECT_FALSE(state_.stopRequested);
  EXPECT_EQ(state_.data.current.count, 3);
  EXPECT_EQ(FirstGivenName(), "Anna");
  EXPECT_EQ(state_.data.previous.count, 2);  // the previous year comes back too
  EXPECT_EQ(state_.data.current[1].previousYearLink(), 1);
}

TEST_F(ChangeDataSourceTest, BackToTheWorkingFolderFromDriveA) {
  WritePublisherFile(floppy_, Publishers({"Csaba"}));
  StartUpAt(1);
  ASSERT_EQ(FirstGivenName(), "Csaba");
  EXPECT_TRUE(Change(0));
  EXPECT_EQ(questions_, 1);
  EXPECT_EQ(FirstGivenName(), "Anna");
  EXPECT_EQ(state_.settings.dataLocation, 0);
}

}  // namespace
}  // namespace velunorh
