#pragma once

// Test helpers that only POSIX systems have: forked children, dropped rights, resource limits.

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velunorh::test {

// What a forked child reported: the verdict `body` returned and the text it wrote.
struct ChildResult {
  bool ok = false;
  std::string text;
};

// Runs `body` in a forked child and waits for it. The child's assertions do not reach the
// test: `body` reports through its verdict and its text. A child that cannot set up its
// conditions, crashes or throws is a test failure of its own, never a verdict of false.
using ChildBody = std::function<bool(std::string& text)>;

// With root's rights dropped to uid and gid 65534 (when the tests run as root, as CI does),
// so that permission bits bind. The files the child must reach need bits for others.
ChildResult RunUnprivileged(const ChildBody& body);

// Within `seconds`: a child still running then is killed, which fails the test, so that a
// read that would block forever fails instead of hanging the run.
ChildResult RunWithTimeLimit(unsigned seconds, const ChildBody& body);

// With writes stopped past `bytes` in any file, as a full disk stops them: the write fails with
// EFBIG instead of killing the process.
ChildResult RunWithFileSizeLimit(rlim_t bytes, const ChildBody& body);

// The same conditions in this process, for as long as the object lives: for tests of the
// widgets, since a forked copy of a Qt program lacks the threads of its thread pool and its
// dialogs may wait for them forever. A condition that cannot be set up fails the test.
//
// Root's rights dropped to uid and gid 65534 for file access (when the tests run as root);
// given back at the end.
class Unprivileged {
 public:
  Unprivileged();
  ~Unprivileged();
  Unprivileged(const Unprivileged&) = delete;
  Unprivileged& operator=(const Unprivileged&) = delete;

 private:
  bool wasRoot_ = false;
  gid_t group_ = 0;
  std::vector<gid_t> groups_;
};

// Writes stopped past `bytes` in any file, as by a full disk (EFBIG, without the signal).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*savedHandler_)(int) = nullptr;
};

// Lets others read and enter `folder` and read every file and folder below it, so that an
// unprivileged child can reach a test's files (TempDir makes its folder for the owner alone).
void OpenToOthers(const std::filesystem::path& folder);

}  // namespace velunorh::test
