#include "ui/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "test_support.h"

namespace velunorh {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, ReadsOptionsAndTheDataFolder) {
  struct Case {
    std::vector<std::string> arguments;
    Action action;
    std::optional<std::string> folder;
  } cases[] = {
      {{}, Action::Run, std::nullopt},
      {{"/data/orsival"}, Action::Run, "/data/orsival"},
      {{"--help"}, Action::Help, std::nullopt},
      {{"-h", "--bogus"}, Action::Help, std::nullopt},
      {{"folder", "--version"}, Action::Version, "folder"},
      {{"--bogus"}, Action::Refuse, std::nullopt},
      {{"-x"}, Action::Refuse, std::nullopt},
      {{"one", "two"}, Action::Refuse, "one"},
      {{"--", "--help"}, Action::Run, "--help"},  // a folder of that name
      {{"-"}, Action::Run, "-"},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.arguments);
    const std::string what = c.arguments.empty() ? "(none)" : c.arguments[0];
    EXPECT_EQ(line.action, c.action) << what;
    EXPECT_EQ(line.dataFolder ? std::optional(line.dataFolder->string()) : std::nullopt, c.folder)
        << what;
  }
}

TEST(CommandLine, AnswersAsCommandLineProgramsDo) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string inOut, inErr;
  } cases[] = {
      {{"--help"}, 0, "Használat: velunorh [KAPCSOLÓ]... [ADATMAPPA]", ""},
      {{"--version"}, 0, "Velunorh 4.0\n", ""},
      {{"--bogus"}, 2, "", "velunorh: ismeretlen kapcsoló: '--bogus'"},
      {{"a", "b"}, 2, "", "csak egy adatmappa"},
      // The system's reason in the same language as the rest.
      {{"/no/such/folder"},
       1,
       "",
       "az adatmappa nem használható: '/no/such/folder': nem található\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(AnswerCommandLine(ParseCommandLine(c.arguments), "velunorh", out, err), c.status)
        << c.arguments[0];
    if (c.inOut.empty())
      EXPECT_EQ(out.str(), "") << c.arguments[0];
    else
      EXPECT_NE(out.str().find(c.inOut), std::string::npos) << out.str();
    if (c.inErr.empty())
      EXPECT_EQ(err.str(), "") << c.arguments[0];
    else
      EXPECT_NE(err.str().find(c.inErr), std::string::npos) << err.str();
  }
}

// The folder given is where the program then reads and writes, as when the launcher starts it.
TEST(CommandLine, ADataFolderBecomesTheCurrentFolder) {
  test::TempDir dir;
  const auto before = std::filesystem::current_path();
  std::ostringstream out, err;
  EXPECT_EQ(AnswerCommandLine(ParseCommandLine({dir.path().string()}), "velunorh", out, err),
            std::nullopt);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir.path()));
  std::filesystem::current_path(before);
  EXPECT_EQ(out.str() + err.str(), "");
}

}  // namespace
}  // namespace velunorh
