// The folder of the companion's files chosen inside the program: which folder a start reads, and
// what a choice does now and at the next start.
#include "session/data_folder.h"

#include <gtest/gtest.h>

#include "no_questions.h"
#include "session/session.h"
#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh {
namespace {

void WriteData(const std::filesystem::path& folder, const std::string& givenName) {
  tools::Congregation c;
  tools::Publisher p;
  p.givenName = givenName;
  p.familyName = "Kovács";
  p.id = 11;
  c.current.publishers = {p};
  std::filesystem::create_directories(folder);
  tools::WriteCongregation(c, folder);
}

class DataFolderTest : public ::testing::Test {
 protected:
  std::unique_ptr<Session> Start(const std::filesystem::path& workFolder) {
    auto session = std::make_unique<Session>(
        Session::Places{settings_, workFolder, dir_ / "floppy"}, prompts_);
    EXPECT_EQ(session->StartUp(ServiceYear::FromDate(2026, 10)), SessionStatus::kRunning);
    return session;
  }
  std::string FirstName(const Session& session) {
    return session.data().current.IsLoaded(1) ? session.data().current[1].givenName() : "";
  }

  test::TempDir dir_;
  std::filesystem::path settings_ = dir_ / "program" / "velunorh.INI";
  test::NoQuestions prompts_{test::NoQuestions::Messages::kKeep};
};

// The working folder (the start folder, or the command line's) keeps its meaning first; the
// remembered folder is read only when the working folder has no data and it still has.
TEST_F(DataFolderTest, TheWorkingFolderWinsOverTheRememberedOneWhenItHoldsData) {
  enum class Remembered { kNone, kWithData, kEmpty, kGone };
  struct Case {
    const char* name;
    bool workHasData;
    Remembered remembered;
    const char* expectedName;  // whose data is read: "work", "chosen", or "" for none
  };
  const Case cases[] = {
      {"nothing remembered, data here", true, Remembered::kNone, "work"},
      {"nothing remembered, no data here", false, Remembered::kNone, ""},
      {"remembered, data here too", true, Remembered::kWithData, "work"},
      {"remembered, no data here", false, Remembered::kWithData, "chosen"},
      {"remembered folder emptied", false, Remembered::kEmpty, ""},
      {"remembered folder removed", false, Remembered::kGone, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const auto work = dir / "munka";
    const auto chosen = dir / "Adatok é";  // a name beyond ASCII, as users give
    std::filesystem::create_directories(work);
    std::filesystem::create_directories(chosen);
    std::filesystem::create_directories(settings_.parent_path());
    std::filesystem::remove(settings_);
    if (c.workHasData) WriteData(work, "work");
    if (c.remembered == Remembered::kWithData) WriteData(chosen, "chosen");
    if (c.remembered != Remembered::kNone) {
      ASSERT_TRUE(WriteRememberedDataFolder(settings_, chosen));
    }
    if (c.remembered == Remembered::kGone) std::filesystem::remove_all(chosen);

    auto session = Start(work);
    EXPECT_EQ(FirstName(*session), c.expectedName);
    EXPECT_EQ(session->workFolder(), std::string(c.expectedName) == "chosen" ? chosen : work);
  }
}

// A folder without the publisher file is refused and not remembered; one with it is read at
// once and remembered, and read again at the next start in a folder without data.
TEST_F(DataFolderTest, AChosenFolderIsReadNowAndAtTheNextStart) {
  const auto empty = dir_ / "menu";
  const auto other = dir_ / "üres";
  const auto data = dir_ / "Hírnökök adatai";
  for (const auto& folder : {empty, other, settings_.parent_path()})
    std::filesystem::create_directories(folder);
  WriteData(data, "Anna");
  auto session = Start(empty);
  ASSERT_TRUE(session->PublisherFileMissing());

  const Session::FolderChoice refused = session->ChooseDataFolder(other);
  EXPECT_FALSE(refused.reloaded);
  EXPECT_NE(refused.message.find(PathText(other)), std::string::npos) << refused.message;
  EXPECT_EQ(ReadRememberedDataFolder(settings_), std::nullopt);
  EXPECT_EQ(session->workFolder(), empty);

  const Session::FolderChoice taken = session->ChooseDataFolder(data);
  EXPECT_TRUE(taken.reloaded);
  EXPECT_EQ(taken.message, "");
  EXPECT_EQ(FirstName(*session), "Anna");
  EXPECT_FALSE(session->PublisherFileMissing());
  EXPECT_EQ(ReadRememberedDataFolder(settings_), data);
  session->Exit();

  EXPECT_EQ(FirstName(*Start(empty)), "Anna");
}

}  // namespace
}  // namespace velunorh
