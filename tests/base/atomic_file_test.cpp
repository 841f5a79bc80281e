#include "base/atomic_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "test_support.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#endif

namespace velunorh {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
TEST(WriteFileAtomically, ADanglingLinkGetsItsFileAndALoopIsRefused) {
  test::TempDir dir;
  fs::create_symlink("elsewhere.ini", dir / "dangling.ini");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir / "dangling.ini", "new", &error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.ini"));
  EXPECT_EQ(test::ReadText(dir / "elsewhere.ini"), "new");

  fs::create_symlink("b.ini", dir / "a.ini");
  fs::create_symlink("a.ini", dir / "b.ini");
  EXPECT_FALSE(WriteFileAtomically(dir / "a.ini", "new", &error));
  EXPECT_NE(error.find("a.ini"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_symlink(dir / "a.ini"));
  EXPECT_TRUE(fs::is_symlink(dir / "b.ini"));
}

TEST(WriteFileAtomically, TheTargetKeepsItsPermissions) {
  test::TempDir dir;
  test::WriteText(dir / "target.ini", "old");
  fs::permissions(dir / "target.ini", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("target.ini", dir / "link.ini");
  ASSERT_TRUE(WriteFileAtomically(dir / "link.ini", "new"));
  EXPECT_EQ(fs::status(dir / "target.ini").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}
#endif

TEST(RemoveStaleTemporaries, RemovesOnlyOldTemporariesOfTheGivenFiles) {
  test::TempDir dir;
  const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(2);
  struct Case {
    std::string name;
    bool old;
    bool removed;
  } cases[] = {
      {"velunorh-ledger.ini" + std::string(kTemporaryMark) + "a1B2c3", true, true},
      {"cplot.dat" + std::string(kTemporaryMark) + "1234-0", true, true},  // as Windows names it
      {"velunorh-ledger.ini" + std::string(kTemporaryMark) + "x9y8z7", false, false},  // a save now
      {"velunorh-ledger.ini.a1B2c3", true, false},  // not named as this program names them
      {"velunorh-ledger.ini" + std::string(kTemporaryMark), true, false},
      {"velunorh-ledger.ini" + std::string(kTemporaryMark) + "a1 b2", true, false},
      {"other.ini" + std::string(kTemporaryMark) + "a1B2c3", true, false},  // not one of ours
      {"velunorh-ledger.ini", true, false},
  };
  for (const Case& c : cases) {
    test::WriteText(dir / c.name, "x");
    if (c.old) fs::last_write_time(dir / c.name, longAgo);
  }
  // A folder of the name is no temporary file.
  const std::string folder = "cplot.dat" + std::string(kTemporaryMark) + "folder";
  fs::create_directory(dir / folder);
  std::error_code ec;
  fs::last_write_time(dir / folder, longAgo, ec);  // Windows sets no time on a folder this way

  EXPECT_EQ(RemoveStaleTemporaries(
                {dir / "velunorh-ledger.ini", dir / "cplot.dat", dir / "missing" / "velunorh.INI"}),
            2);
  for (const Case& c : cases) EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
  EXPECT_TRUE(fs::is_directory(dir / folder));
}

#ifndef _WIN32
TEST(RemoveStaleTemporaries, WhatADeathDuringASaveLeavesIsRemovedAtTheNextStart) {
  test::TempDir dir;
  const fs::path file = dir / "velunorh-ledger.ini";
  test::WriteText(file, "old");
  std::fflush(nullptr);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Killed by the file size limit in the middle of writing the new file.
    rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_DFL);
    WriteFileAtomically(file, std::string(1 << 20, 'x'));
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;

  std::vector<fs::path> left;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    if (entry.path() != file) left.push_back(entry.path());
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(RemoveStaleTemporaries({file}), 0);  // written after this program started
  fs::last_write_time(left[0], fs::file_time_type::clock::now() - std::chrono::hours(1));
  EXPECT_EQ(RemoveStaleTemporaries({file}), 1);
  EXPECT_FALSE(fs::exists(left[0]));
  EXPECT_EQ(test::ReadText(file), "old");
}
#endif

}  // namespace
}  // namespace velunorh
