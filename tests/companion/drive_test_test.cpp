#include "companion/drive_test.h"

#include <gtest/gtest.h>

#include "test_support.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "posix_test_support.h"
#endif

namespace velunorh {
namespace {

TEST(DriveTest, TheWorkingFolderNeedsNoTest) {
  EXPECT_TRUE(DriveTest(0, "/no/such/folder"));
}

TEST(DriveTest, AWritableFolderPassesAndKeepsNoTestFile) {
  test::TempDir floppy;
  EXPECT_TRUE(DriveTest(1, floppy.path()));
  EXPECT_FALSE(std::filesystem::exists(floppy / "orsival.tst"));

  test::WriteText(floppy / "orsival.tst", "left by an earlier run");
  EXPECT_TRUE(DriveTest(1, floppy.path()));
  EXPECT_FALSE(std::filesystem::exists(floppy / "orsival.tst"));
}

TEST(DriveTest, AFolderWhereNoFileCanBeCreatedFails) {
  test::TempDir dir;
  test::WriteText(dir / "plain-file", "x");
  for (const auto& folder : {dir / "missing", dir / "plain-file"}) {
    EXPECT_FALSE(DriveTest(1, folder)) << folder;
  }
  EXPECT_EQ(test::ReadText(dir / "plain-file"), "x");
}

TEST(DriveTest, AFolderInPlaceOfTheTestFileFailsAndStays) {
  test::TempDir floppy;
  std::filesystem::create_directory(floppy / "orsival.tst");
  EXPECT_FALSE(DriveTest(1, floppy.path()));
  EXPECT_TRUE(std::filesystem::is_directory(floppy / "orsival.tst"));
}

#ifndef _WIN32

// A write-protected disk. Root writes anywhere, so the test runs in a child without root's rights.
TEST(DriveTest, AReadOnlyFolderFails) {
  test::TempDir dir;
  namespace fs = std::filesystem;
  fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_exec);
  fs::create_directory(dir / "floppy");
  fs::permissions(dir / "floppy", fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(2);
    ::_exit(DriveTest(1, dir / "floppy") ? 1 : 0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 2) << "could not drop root's rights";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the test file was created in a read-only folder";
  EXPECT_FALSE(fs::exists(dir / "floppy" / "orsival.tst"));
}

TEST(DriveTest, ALinkInPlaceOfTheTestFileIsNotFollowed) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "floppy");
  test::WriteText(dir / "precious", "keep me");
  std::filesystem::create_symlink(dir / "precious", dir / "floppy" / "orsival.tst");
  EXPECT_FALSE(DriveTest(1, dir / "floppy"));
  EXPECT_EQ(test::ReadText(dir / "precious"), "keep me");
}

// A FIFO would wait for a reader forever, and a link to a device must not reach the device:
// both fail the test at once and stay where they are.
TEST(DriveTest, AFifoOrALinkToADeviceFailsWithoutBlocking) {
  test::TempDir dir;
  const auto fifo = dir / "fifo" / "orsival.tst";
  const auto link = dir / "link" / "orsival.tst";
  std::filesystem::create_directories(fifo.parent_path());
  std::filesystem::create_directories(link.parent_path());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", link);
  test::ChildResult result = test::RunWithTimeLimit(5, [&](std::string& text) {
    if (DriveTest(1, fifo.parent_path())) text += "passed on a FIFO; ";
    if (DriveTest(1, link.parent_path())) text += "passed on a link to a device; ";
    return text.empty();
  });
  EXPECT_TRUE(result.ok) << result.text;
  EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
}
#endif

}  // namespace
}  // namespace velunorh
