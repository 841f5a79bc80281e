#pragma once

#include <cstdint>
#include <filesystem>

namespace velunorh {

// What tells one version of a file from another without reading it: size, modification time to
// the nanosecond, inode and device. A missing file has the identity of every missing file.
struct FileIdentity {
  bool exists = false;
  std::uint64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::int64_t modifiedNanoseconds = 0;
  std::uint64_t inode = 0;
  std::uint64_t device = 0;

  bool operator==(const FileIdentity&) const = default;

  static FileIdentity Of(const std::filesystem::path& file);
  // Of an open file descriptor: the identity of exactly what is being read.
  static FileIdentity OfDescriptor(int fd);
};

}  // namespace velunorh
