#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "base/platform.h"
#include "test_support.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "posix_test_support.h"
#endif

namespace velunorh {
namespace {

using std::chrono::milliseconds;

TEST(FileLock, OneHolderAtATimeUntilItGoes) {
  test::TempDir dir;
  const auto lockFile = dir / "ledger.lock";
  std::optional<FileLock> held = FileLock::Acquire(lockFile, milliseconds(0));
  ASSERT_TRUE(held);

  // Moved, it is still held: a second open of the file cannot take it, even after waiting.
  std::optional<FileLock> moved = std::move(held);
  held.reset();
  std::string error;
  bool busy = false;
  EXPECT_FALSE(FileLock::Acquire(lockFile, milliseconds(50), &error, &busy));
  EXPECT_NE(error.find("ledger.lock"), std::string::npos) << error;
  EXPECT_TRUE(busy);

  moved.reset();
  EXPECT_TRUE(FileLock::Acquire(lockFile, milliseconds(0)));
  EXPECT_TRUE(std::filesystem::exists(lockFile));  // left for the next holder
}

TEST(FileLock, ALockFileThatCannotBeOpenedIsAnError) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "folder.lock");
  for (const auto& lockFile : {dir / "folder.lock", dir.path() / "missing" / "x.lock"}) {
    std::string error;
    bool busy = true;
    EXPECT_FALSE(FileLock::Acquire(lockFile, milliseconds(0), &error, &busy)) << lockFile;
    EXPECT_FALSE(error.empty()) << lockFile;
    EXPECT_FALSE(busy) << lockFile;  // not another holder: waiting would not help
  }
}

#ifndef _WIN32
TEST(FileLock, AnotherProcessWaitsForTheHolder) {
  test::TempDir dir;
  const auto lockFile = dir / "ledger.lock";
  std::optional<FileLock> held = FileLock::Acquire(lockFile, milliseconds(0));
  ASSERT_TRUE(held);
  test::ChildResult child = test::RunWithTimeLimit(10, [&](std::string& text) {
    return !FileLock::Acquire(lockFile, milliseconds(100), &text);
  });
  EXPECT_TRUE(child.ok) << child.text;

  held.reset();
  child = test::RunWithTimeLimit(10, [&](std::string& text) {
    return FileLock::Acquire(lockFile, milliseconds(0), &text).has_value();
  });
  EXPECT_TRUE(child.ok) << child.text;
}

TEST(FileLock, AKilledHolderDoesNotBlock) {
  test::TempDir dir;
  const auto lockFile = dir / "ledger.lock";
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t holder = ::fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    ::close(ready[0]);
    std::optional<FileLock> lock = FileLock::Acquire(lockFile, milliseconds(0));
    char said = lock ? 'y' : 'n';
    if (::write(ready[1], &said, 1) != 1) ::_exit(1);
    for (;;) ::pause();  // holds it until killed
  }
  ::close(ready[1]);
  char said = 0;
  ASSERT_EQ(::read(ready[0], &said, 1), 1);
  ::close(ready[0]);
  const bool blockedWhileHeld = !FileLock::Acquire(lockFile, milliseconds(0));

  ::kill(holder, SIGKILL);
  int status = 0;
  ::waitpid(holder, &status, 0);
  EXPECT_EQ(said, 'y');
  EXPECT_TRUE(blockedWhileHeld);
  EXPECT_TRUE(FileLock::Acquire(lockFile, milliseconds(1000)));
}
#endif

}  // namespace
}  // namespace velunorh
