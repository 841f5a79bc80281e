#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace velunorh {

// A file read whole, never more than the caller's limit: a file far larger than its kind can
// be (a damaged or a wrong file) is refused without being read, so that it costs neither
// memory nor time.
struct WholeFile {
  enum class Status {
    kRead,
    kMissing,     // no such file: nothing to read, no error
    kNotRegular,  // a folder, FIFO or device in its place
    kFailed,      // it could not be opened or read
    kTooLarge,    // larger than the limit; nothing of it was kept
  };
  Status status = Status::kMissing;
  std::string bytes;  // kRead only
  std::string error;  // a message naming the file, for every status but kRead and kMissing
};

WholeFile ReadFileUpTo(const std::filesystem::path& file, std::size_t maxBytes);

}  // namespace velunorh
