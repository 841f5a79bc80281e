#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

// What differs between Linux and Windows, kept to this one header: platform_posix.cpp and
// platform_windows.cpp implement it (and WriteFileAtomically of atomic_file.h).
namespace velunorh {

// A file opened for reading only if it is a regular file. The open never blocks: a FIFO, a
// device or a folder in the file's place is reported as such and never read, so an odd entry
// in a data folder cannot hang the program or feed it endless bytes.
// What tells one version of a file from another without reading it: size, modification time to
// the nanosecond, and the file's number on its device. A missing file has the identity of every
// missing file.
struct FileIdentity {
  bool exists = false;
  std::uint64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::int64_t modifiedNanoseconds = 0;
  std::uint64_t fileNumber = 0;  // the inode, or the file index on Windows
  std::uint64_t device = 0;      // the device, or the volume's serial number
  bool operator==(const FileIdentity&) const = default;
};
FileIdentity FileIdentityOf(const std::filesystem::path& file);

class InputFile {
 public:
  enum class Status {
    kOpen,
    kMissing,     // no such file (or a missing folder on the way)
    kNotRegular,  // a FIFO, device, folder or anything else that is not a plain file
    kFailed,      // it exists but cannot be opened; errorText() says why
  };

  explicit InputFile(const std::filesystem::path& file);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  Status status() const { return status_; }
  bool isOpen() const { return status_ == Status::kOpen; }
  const std::string& errorText() const { return errorText_; }

  // Reads up to `size` bytes into `into` and gives how many it read: fewer only at the end of
  // the file or when reading fails (then errorText() says why).
  std::size_t Read(void* into, std::size_t size);
  // Moves to `offset` bytes from the start; a read past the end reads nothing.
  bool Seek(std::uint64_t offset);
  // The identity of exactly the file being read.
  FileIdentity Identity() const;

 private:
  Status status_ = Status::kMissing;
  std::string errorText_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

// An exclusive, advisory lock on a lock file (made when missing, never removed: removing it
// would let two holders lock two different files of one name). Held until the object goes; the
// system releases it when the holder dies, so a crashed copy of the program never blocks the
// next. It binds only those who take it too.
class FileLock {
 public:
  // Waits up to `wait` for the lock; nothing when another holds it still (then `busy` is set),
  // or when the lock file cannot be opened (then `error` says why).
  static std::optional<FileLock> Acquire(const std::filesystem::path& lockFile,
                                         std::chrono::milliseconds wait,
                                         std::string* error = nullptr, bool* busy = nullptr);

  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

 private:
  FileLock() = default;
  void Release();
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

// Whether the user marked the file (or the file its links lead to) read-only: no write bit at
// all on POSIX, the read-only attribute on Windows. Checked by the bits, not by trying, since
// an administrator's writes would pass.
bool IsMarkedReadOnly(const std::filesystem::path& file);

// The errno value that stands for a system error code (std::system_category's value on this
// system), or 0 when none does: on POSIX the code itself, on Windows the errno of the common
// Win32 codes.
int ErrnoOfSystemCode(int code);

// A path as UTF-8 text, for messages: on Windows path::string() would go through the narrow
// code page, which cannot hold every name.
std::string PathText(const std::filesystem::path& path);

// The running program's own file, or an empty path when the system does not tell.
std::filesystem::path RunningProgramFile();

// This computer's name (UTF-8), or "" when the system does not tell. Tells apart the print
// systems of two computers that share one data folder.
std::string ComputerName();

// Creates `file` empty and removes it again, without following a link in its place and without
// blocking on a FIFO; true when a regular file could be created. Whatever else stands at the
// path is left alone.
bool CreateAndRemoveTestFile(const std::filesystem::path& file);

// The folder that stands for drive A: where the companion program's floppy disks are read.
std::filesystem::path DefaultFloppyFolder();

// The local calendar time of `when`; false when the system cannot convert it.
bool ToLocalTime(std::time_t when, std::tm& local);

}  // namespace velunorh
