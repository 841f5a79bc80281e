#pragma once

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

}  // namespace velunorh::test
