#include "test_support.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

#ifndef _WIN32
#include <stdlib.h>
#endif

namespace velunorh::test {

TempDir::TempDir() {
#ifndef _WIN32
  std::string pattern = (std::filesystem::temp_directory_path() / "velunorh-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
#else
  // No mkdtemp: a random name, taken only when the folder is new.
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = std::filesystem::temp_directory_path() / ("velunorh-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) return;
  }
  throw std::runtime_error("cannot create a temporary folder");
#endif
}

TempDir::~TempDir() {
  std::error_code ec;
  // A test may have taken write permission away; give it back so the folder can go.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::vector<unsigned char> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
}

FolderSnapshot SnapshotFolder(const std::filesystem::path& folder) {
  FolderSnapshot snapshot;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    FileState state;
    state.folder = entry.is_directory();
    if (!state.folder) {
      state.bytes = ReadText(entry.path());
      state.written = entry.last_write_time();
    }
    snapshot[entry.path().lexically_relative(folder).string()] = std::move(state);
  }
  return snapshot;
}

std::string SnapshotDifference(const FolderSnapshot& before, const FolderSnapshot& after) {
  std::string lines;
  for (const auto& [name, state] : before) {
    auto it = after.find(name);
    if (it == after.end())
      lines += "gone " + name + "\n";
    else if (!(it->second == state))
      lines += "changed " + name + "\n";
  }
  for (const auto& [name, state] : after)
    if (!before.count(name)) lines += "new " + name + "\n";
  return lines;
}

}  // namespace velunorh::test
