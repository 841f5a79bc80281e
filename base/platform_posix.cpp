#include "base/platform.h"
#include "base/string_table.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "base/atomic_file.h"
#include "base/system_reason.h"

namespace velunorh {

InputFile::InputFile(const std::filesystem::path& file) {
  // Non-blocking, so that opening a FIFO does not wait for a writer; a regular file reads the
  // same either way.
  fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) {
    int code = errno;
    if (code == ENOENT || code == ENOTDIR) {
      status_ = Status::kMissing;
    } else if (code == ENXIO || code == ENODEV) {
      status_ = Status::kNotRegular;  // a socket or a device without a driver
    } else {
      status_ = Status::kFailed;
      errorText_ = SystemReasonOfCode(code);
    }
    return;
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    status_ = Status::kNotRegular;
    return;
  }
  status_ = Status::kOpen;
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t InputFile::Read(void* into, std::size_t size) {
  if (fd_ < 0) return 0;
  auto* at = static_cast<char*>(into);
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::read(fd_, at + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      errorText_ = SystemReasonOfCode(errno);
      break;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool InputFile::Seek(std::uint64_t offset) {
  return fd_ >= 0 && ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

namespace {

FileIdentity FromStat(const struct stat& st) {
  FileIdentity identity;
  identity.exists = true;
  identity.size = static_cast<std::uint64_t>(st.st_size);
  identity.modifiedSeconds = st.st_mtim.tv_sec;
  identity.modifiedNanoseconds = st.st_mtim.tv_nsec;
  identity.fileNumber = st.st_ino;
  identity.device = st.st_dev;
  return identity;
}

}  // namespace

FileIdentity FileIdentityOf(const std::filesystem::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return {};
  return FromStat(st);
}

FileIdentity InputFile::Identity() const {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return {};
  return FromStat(st);
}

std::optional<FileLock> FileLock::Acquire(const std::filesystem::path& lockFile,
                                          std::chrono::milliseconds wait, std::string* error,
                                          bool* busy) {
  if (busy) *busy = false;
  // Not inherited by a program started while it is held (a print command), which would hold
  // the lock on after this one died; a FIFO in its place must not block the open.
  int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0644);
  if (fd < 0) {
    if (error)
      *error = LoadStringWith(StringId::ErrorCannotOpen,
                              {PathText(lockFile), SystemReasonOfCode(errno)});
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    if (error) *error = LoadStringWith(StringId::ErrorNotRegularFile, {PathText(lockFile)});
    return std::nullopt;
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) break;
    int code = errno;
    if (code == EINTR) continue;
    if (code != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      ::close(fd);
      if (busy) *busy = code == EWOULDBLOCK;
      if (error) {
        *error = code == EWOULDBLOCK
                     ? LoadStringWith(StringId::ErrorLockBusy, {PathText(lockFile)})
                     : LoadStringWith(StringId::ErrorCannotOpen,
                                      {PathText(lockFile), SystemReasonOfCode(code)});
      }
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  FileLock lock;
  lock.fd_ = fd;
  return lock;
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(other.fd_) {
  other.fd_ = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileLock::~FileLock() {
  Release();
}

void FileLock::Release() {
  // Closing the only descriptor of the open file releases its lock.
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool IsMarkedReadOnly(const std::filesystem::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

int ErrnoOfSystemCode(int code) {
  return code;
}

std::string PathText(const std::filesystem::path& path) {
  return path.string();
}

std::filesystem::path RunningProgramFile() {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  // The kernel marks a program file replaced while running; the name is still the one meant.
  constexpr std::string_view kDeleted = " (deleted)";
  std::string text = self.string();
  if (text.ends_with(kDeleted)) text.resize(text.size() - kDeleted.size());
  return text;
}

std::string ComputerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

bool CreateAndRemoveTestFile(const std::filesystem::path& file) {
  // A link in place of the test file would let the truncation reach a file elsewhere, and a
  // FIFO would wait for a reader.
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                  0644);
  if (fd < 0) return false;
  struct stat info {};
  bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  if (regular) ::unlink(file.c_str());
  return regular;
}

std::filesystem::path DefaultFloppyFolder() {
  return "/media/floppy";
}

bool ToLocalTime(std::time_t when, std::tm& local) {
  return ::localtime_r(&when, &local) != nullptr;
}

namespace {

bool Fail(std::string* error, const std::string& what, int code) {
  if (error) *error = what + ": " + SystemReasonOfCode(code);
  return false;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::filesystem::path FileBehindLinks(const std::filesystem::path& file) {
  std::filesystem::path target = file;
  // As many links as the system follows in one path; a loop stops here.
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) break;
    std::filesystem::path next = std::filesystem::read_symlink(target, ec);
    if (ec) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string* error) {
  const std::filesystem::path target = FileBehindLinks(file);
  std::error_code ec;
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) {
    return Fail(error, LoadStringWith(StringId::ErrorCannotReplace, {PathText(file)}), ELOOP);
  }
  // Only a regular file of one name is ever replaced: the rename would put a file in the place
  // of a device or FIFO, and would leave another hard link holding the old content.
  struct stat old {};
  const bool exists = ::lstat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode))
    return Fail(error, LoadStringWith(StringId::ErrorCannotReplace, {PathText(file)}), EISDIR);
  if (exists && !S_ISREG(old.st_mode)) {
    if (error) *error = LoadStringWith(StringId::ErrorNotReplaceableKind, {PathText(file)});
    return false;
  }
  if (exists && old.st_nlink > 1) {
    if (error) *error = LoadStringWith(StringId::ErrorHardLinked, {PathText(file)});
    return false;
  }
  std::string pattern = target.string() + std::string(kTemporaryMark) + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0)
    return Fail(error, LoadStringWith(StringId::ErrorNoTemporaryFile, {PathText(file)}), errno);
  std::string temp(name.data());

  // Keep the permissions of the file being replaced; a new file gets the usual 0644.
  mode_t mode = exists ? (old.st_mode & 07777) : 0644;
  ::fchmod(fd, mode);

  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    int code = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    return Fail(error, LoadStringWith(StringId::ErrorCannotWrite, {temp}), code);
  }
  if (::close(fd) != 0) {
    int code = errno;
    ::unlink(temp.c_str());
    return Fail(error, LoadStringWith(StringId::ErrorCannotWrite, {temp}), code);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int code = errno;
    ::unlink(temp.c_str());
    return Fail(error, LoadStringWith(StringId::ErrorCannotReplace, {PathText(file)}), code);
  }
  return true;
}

}  // namespace velunorh
