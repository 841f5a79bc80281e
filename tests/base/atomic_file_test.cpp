#include "base/atomic_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "base/platform.h"
#include "base/string_table.h"
#include "test_support.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
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
  EXPECT_NE(error.find(LoadString(StringId::ReasonLinkLoop)), std::string::npos) << error;
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

// What stands behind a path: its kind, device number, names and bytes.
std::string Describe(const fs::path& path) {
  struct stat info {};
  if (::lstat(FileBehindLinks(path).c_str(), &info) != 0) return "missing";
  std::string text = std::to_string(info.st_mode) + " " + std::to_string(info.st_rdev) + " " +
                     std::to_string(info.st_nlink);
  if (S_ISREG(info.st_mode)) text += " " + test::ReadText(path);
  return text;
}

// A private device node, as /dev/zero is; false where the system does not let us make one.
bool MakeZeroDevice(const fs::path& node) {
  return ::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0;
}

// Only a regular file of one name is replaced: a rename over a device or FIFO would put a file
// in its place (through a link to /dev/zero, run as root, /dev/zero itself), and one over a
// hard link would leave the other name holding the old content.
TEST(WriteFileAtomically, NothingButARegularFileOfOneNameIsReplaced) {
  struct Case {
    const char* what;
    std::function<bool(const fs::path& dir)> place;  // makes dir/"file"
    StringId message;
  } cases[] = {
      {"a FIFO", [](const fs::path& dir) { return ::mkfifo((dir / "file").c_str(), 0600) == 0; },
       StringId::ErrorNotReplaceableKind},
      {"a device", [](const fs::path& dir) { return MakeZeroDevice(dir / "file"); },
       StringId::ErrorNotReplaceableKind},
      {"a link to a device",
       [](const fs::path& dir) {
         fs::create_directory(dir / "dev");
         fs::create_symlink(fs::path("dev") / "zero", dir / "file");
         return MakeZeroDevice(dir / "dev" / "zero");
       },
       StringId::ErrorNotReplaceableKind},
      {"a hard link",
       [](const fs::path& dir) {
         test::WriteText(dir / "other", "old");
         fs::create_hard_link(dir / "other", dir / "file");
         return true;
       },
       StringId::ErrorHardLinked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    if (!c.place(dir.path())) {
      ADD_FAILURE() << "could not make " << c.what << ": " << std::strerror(errno);
      continue;
    }
    const std::string before = Describe(dir / "file");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir / "file", "new", &error));
    EXPECT_EQ(error, LoadStringWith(c.message, {PathText(dir / "file")}));
    EXPECT_EQ(Describe(dir / "file"), before);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
      EXPECT_EQ(entry.path().string().find(kTemporaryMark), std::string::npos) << entry.path();
  }
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
