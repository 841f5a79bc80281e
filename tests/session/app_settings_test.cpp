#include "session/app_settings.h"
#include "card/card_layout.h"
#include "session/remembered_printer.h"

#include <gtest/gtest.h>

#include <string>

#include "base/string_table.h"
#include "test_support.h"

#ifndef _WIN32
#include "posix_test_support.h"
#endif

namespace velunorh {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

const AppSettings kChanged = [] {
  AppSettings s;
  s.dataLocation = 1;
  s.firstNameSort = true;
  s.dateFormat = 2;
  s.lastNameFirst = true;
  s.lastNameFirstStored = 1;  // as read back
  s.cardVersion = 1;
  s.topMargin = "0.50";
  s.leftMargin = "0.25";
  return s;
}();

TEST(AppSettings, MissingFileGivesTheDefaultsAndIsNotCreated) {
  test::TempDir dir;
  for (const char* code : {"hun", "portuguese"}) {
    AppSettings settings = ReadSettings(dir / "velunorh.INI", code);
    EXPECT_EQ(settings.dataLocation, 0);
    EXPECT_EQ(settings.dateFormat, 0);
    EXPECT_FALSE(settings.lastNameFirst);
    EXPECT_EQ(settings.cardVersion, 0);
    EXPECT_EQ(settings.topMargin, "0.00");
    EXPECT_EQ(settings.leftMargin, "0.20");
    // The first-name sort defaults to on, but only the Portuguese edition has it.
    EXPECT_EQ(settings.firstNameSort, std::string(code) == "portuguese");
  }
  EXPECT_FALSE(fs::exists(dir / "velunorh.INI"));
}

TEST(AppSettings, ReadsStoredValuesKeepingEightBits) {
  test::TempDir dir;
  test::WriteText(dir / "velunorh.INI",
                  "[format]\r\nalt date format=259\r\nLast Name First=257\r\nCard Version=7\r\n"
                  "[Margins]\r\nTop=1.5\r\nLeft=abc\r\n"
                  "[Data Location]\r\nDrive=-255\r\n"
                  "[FN Sort]\r\nEnabled=0\r\n");
  AppSettings settings = ReadSettings(dir / "velunorh.INI", "portuguese");
  EXPECT_EQ(settings.dateFormat, 3);
  EXPECT_TRUE(settings.lastNameFirst);
  EXPECT_EQ(settings.cardVersion, 7);    // checked against the edition at start-up, not here
  EXPECT_EQ(settings.topMargin, "1.5");  // margins are kept as read
  EXPECT_EQ(settings.leftMargin, "abc");
  EXPECT_EQ(settings.dataLocation, 1);
  EXPECT_FALSE(settings.firstNameSort);

  // The Hungarian edition ignores the key whatever it holds.
  test::WriteText(dir / "velunorh.INI", "[FN Sort]\nEnabled=1\n");
  EXPECT_FALSE(ReadSettings(dir / "velunorh.INI", "hun").firstNameSort);
}

TEST(AppSettings, WritingANewFileGivesTidySectionsInTheExitOrder) {
  test::TempDir dir;
  std::string error;
  ASSERT_TRUE(WriteSettings(dir / "hun.INI", kChanged, "hun", &error)) << error;
  const std::string hungarian =
      "[Format]\nAlt Date Format=2\nLast Name First=1\nCard Version=1\n\n"
      "[Margins]\nTop=0.50\nLeft=0.25\n\n"
      "[Data Location]\nDrive=1\n";
  EXPECT_EQ(test::ReadText(dir / "hun.INI"), hungarian);

  ASSERT_TRUE(WriteSettings(dir / "pt.INI", kChanged, "portuguese", &error)) << error;
  EXPECT_EQ(test::ReadText(dir / "pt.INI"), hungarian + "\n[FN Sort]\nEnabled=1\n");
  EXPECT_EQ(ReadSettings(dir / "pt.INI", "portuguese"), kChanged);
  EXPECT_EQ(FolderEntries(dir.path()).size(), 2u);
}

TEST(AppSettings, WritingIntoAnExistingFileKeepsEveryOtherByte) {
  test::TempDir dir;
  const std::string before =
      "; my settings\r\n"
      "[Margins]\r\n"
      "Left = 0.10\r\n"
      "junk\r\n"
      "Left=0.99\r\n"
      "[FN Sort]\r\n"
      "Enabled=0\r\n"
      "[Other]\r\n"
      "Keep=this";
  const std::string after =
      "; my settings\r\n"
      "[Margins]\r\n"
      "Left = 0.25\r\n"
      "junk\r\n"
      "Left=0.99\r\n"
      "Top=0.50\r\n"
      "[FN Sort]\r\n"
      "Enabled=0\r\n"
      "[Other]\r\n"
      "Keep=this\r\n"
      "\r\n"
      "[Format]\r\n"
      "Alt Date Format=2\r\n"
      "Last Name First=1\r\n"
      "Card Version=1\r\n"
      "\r\n"
      "[Data Location]\r\n"
      "Drive=1\r\n";
  test::WriteText(dir / "velunorh.INI", before);
  std::string error;
  ASSERT_TRUE(WriteSettings(dir / "velunorh.INI", kChanged, "hun", &error)) << error;
  // "FN Sort" stays 0 although the setting is on: "hun" never writes it.
  EXPECT_EQ(test::ReadText(dir / "velunorh.INI"), after);
}

// A box the user left alone writes back the byte the file held, not a 0/1 made of it.
TEST(AppSettings, UnchangedFlagsKeepTheirStoredValue) {
  test::TempDir dir;
  const auto file = dir / "velunorh.INI";
  struct Case {
    const char* what;
    bool changeLastNameFirst, changeFirstNameSort;
    const char* lastNameFirst;
    const char* firstNameSort;
  } cases[] = {
      {"left alone", false, false, "5", "5"},
      {"last name first turned off", true, false, "0", "5"},
      {"first-name sort turned off", false, true, "5", "0"},
  };
  for (const Case& c : cases) {
    test::WriteText(file, "[Format]\nLast Name First=5\n[FN Sort]\nEnabled=5\n");
    AppSettings settings = ReadSettings(file, "portuguese");
    ASSERT_TRUE(settings.lastNameFirst && settings.firstNameSort);
    if (c.changeLastNameFirst) settings.lastNameFirst = false;
    if (c.changeFirstNameSort) settings.firstNameSort = false;
    ASSERT_TRUE(WriteSettings(file, settings, "portuguese"));
    const std::string text = test::ReadText(file);
    EXPECT_NE(text.find(std::string("Last Name First=") + c.lastNameFirst), std::string::npos)
        << c.what << "\n"
        << text;
    EXPECT_NE(text.find(std::string("Enabled=") + c.firstNameSort), std::string::npos)
        << c.what << "\n"
        << text;
  }
  // Turned off and on again: the value is on, written as 1.
  test::WriteText(file, "[Format]\nLast Name First=0\n");
  AppSettings settings = ReadSettings(file, "hun");
  settings.lastNameFirst = true;
  ASSERT_TRUE(WriteSettings(file, settings, "hun"));
  EXPECT_NE(test::ReadText(file).find("Last Name First=1"), std::string::npos);
}

TEST(AppSettings, AMarginWithALineBreakIsRefusedAndTheFileKept) {
  test::TempDir dir;
  test::WriteText(dir / "velunorh.INI", "[Margins]\nTop=0.10\n");
  AppSettings settings = kChanged;
  settings.topMargin = "0.50\n[Data Location]\nDrive=1";
  std::string error;
  EXPECT_FALSE(WriteSettings(dir / "velunorh.INI", settings, "hun", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::ReadText(dir / "velunorh.INI"), "[Margins]\nTop=0.10\n");
}

// Permission bits and a dropped root are POSIX matters.
#ifndef _WIN32
TEST(AppSettings, AnUnwritableFolderFailsWithAReasonAndKeepsTheOldFile) {
  test::TempDir dir;
  fs::permissions(dir.path(),
                  fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  const fs::path folder = dir / "program";
  const std::string old = "[Format]\nCard Version=1\n";
  test::WriteText(folder / "velunorh.INI", old);
  fs::permissions(folder / "velunorh.INI",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  // Nobody may write in the folder: neither the owner nor the unprivileged child.
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                              fs::perms::others_exec);

  test::ChildResult result = test::RunUnprivileged([&](std::string& error) {
    return WriteSettings(folder / "velunorh.INI", kChanged, "hun", &error);
  });
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.text.find(LoadString(StringId::ReasonNoPermission)), std::string::npos)
      << result.text;
  EXPECT_EQ(test::ReadText(folder / "velunorh.INI"), old);
  EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"velunorh.INI"});
}

TEST(AppSettings, AFileThatCannotBeReadIsNotReplaced) {
  test::TempDir dir;
  fs::permissions(dir.path(),
                  fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  const fs::path folder = dir / "program";
  const std::string old = "[Other]\nPrecious=1\n";
  test::WriteText(folder / "velunorh.INI", old);
  fs::permissions(folder / "velunorh.INI", fs::perms::none);
  fs::permissions(folder, fs::perms::all);  // anyone may replace the file, none may read it

  test::ChildResult result = test::RunUnprivileged([&](std::string& error) {
    AppSettings read = ReadSettings(folder / "velunorh.INI", "hun");
    if (!(read == AppSettings{})) error = "unreadable file did not read as defaults; ";
    return WriteSettings(folder / "velunorh.INI", kChanged, "hun", &error);
  });
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.text.find(LoadString(StringId::ReasonNoPermission)), std::string::npos)
      << result.text;
  EXPECT_EQ(result.text.find("defaults"), std::string::npos) << result.text;
  fs::permissions(folder / "velunorh.INI", fs::perms::owner_read);
  EXPECT_EQ(test::ReadText(folder / "velunorh.INI"), old);
  EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"velunorh.INI"});
}

#endif

// A settings file far larger than settings can be (a damaged one, or another file under its
// name) is not read: the defaults hold, and it is never replaced, with the reason given.
TEST(AppSettings, AFileTooLargeForSettingsReadsAsDefaultsAndIsNotReplaced) {
  test::TempDir dir;
  const fs::path file = dir / "velunorh.INI";
  for (std::uintmax_t size : {std::uintmax_t{64 * 1024 + 1}, std::uintmax_t{4} << 30}) {
    test::WriteText(file, "[Format]\nAlt Date Format=2\n[Printer]\nName=Irodai\n");
    fs::resize_file(file, size);  // sparse past the text
    EXPECT_EQ(ReadSettings(file, "hun"), AppSettings{}) << size;
    EXPECT_EQ(ReadRememberedPrinter(file), "") << size;
    std::string error;
    EXPECT_FALSE(WriteSettings(file, kChanged, "hun", &error)) << size;
    EXPECT_NE(error.find("velunorh.INI"), std::string::npos) << error;
    EXPECT_FALSE(WriteRememberedPrinter(file, "Másik", &error)) << size;
    EXPECT_EQ(fs::file_size(file), size);
  }
}

TEST(AppSettings, CardVersionsBeyondTheEditionFallBackToTheFirst) {
  EXPECT_EQ(CardVersionCount(), 2);
  struct Case {
    int stored, count, expected;
  } cases[] = {{0, 2, 0}, {1, 2, 1}, {2, 2, 0}, {7, 2, 0}, {255, 2, 0}, {1, 0, 0}, {-1, 2, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(ValidCardVersion(c.stored, c.count), c.expected) << c.stored << " of " << c.count;
  }
}

}  // namespace
}  // namespace velunorh
