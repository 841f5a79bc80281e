#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace velunorh::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::vector<unsigned char> ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);
std::string ReadText(const std::filesystem::path& file);
void WriteText(const std::filesystem::path& file, const std::string& text);

// Every file and folder below a folder, by its path relative to that folder: a file with its
// bytes and the time it was last written, a folder as a mark only (its time changes with every
// temporary file made and removed in it).
struct FileState {
  bool folder = false;
  std::string bytes;
  std::filesystem::file_time_type written{};
  bool operator==(const FileState&) const = default;
};
using FolderSnapshot = std::map<std::string, FileState>;
FolderSnapshot SnapshotFolder(const std::filesystem::path& folder);
// One line per entry that appeared, went or changed ("new x", "gone x", "changed x"); empty
// when the two are the same.
std::string SnapshotDifference(const FolderSnapshot& before, const FolderSnapshot& after);

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
