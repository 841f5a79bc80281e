#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// The Win32 header maps LoadString to LoadStringA; ours reads the string table.
#undef LoadString

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "base/atomic_file.h"
#include "base/platform.h"
#include "base/string_table.h"
#include "base/system_reason.h"

namespace velunorh {
namespace {

std::string SystemText(DWORD code) {
  return SystemReasonOfCode(static_cast<int>(code));
}

bool IsMissing(DWORD code) {
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
         code == ERROR_INVALID_NAME || code == ERROR_BAD_NETPATH;
}

bool IsFolder(const std::filesystem::path& file) {
  DWORD attributes = ::GetFileAttributesW(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

InputFile::InputFile(const std::filesystem::path& file) {
  HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    DWORD code = ::GetLastError();
    if (IsMissing(code)) {
      status_ = Status::kMissing;
    } else if (IsFolder(file)) {
      status_ = Status::kNotRegular;  // a folder cannot be opened as a file
    } else {
      status_ = Status::kFailed;
      errorText_ = SystemText(code);
    }
    return;
  }
  // Device names (NUL, CON, COM1) open in any folder; only a file on a disk is read.
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    ::CloseHandle(handle);
    status_ = Status::kNotRegular;
    return;
  }
  handle_ = handle;
  status_ = Status::kOpen;
}

InputFile::~InputFile() {
  if (handle_) ::CloseHandle(static_cast<HANDLE>(handle_));
}

std::size_t InputFile::Read(void* into, std::size_t size) {
  if (!handle_) return 0;
  auto* at = static_cast<char*>(into);
  std::size_t done = 0;
  while (done < size) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(static_cast<HANDLE>(handle_), at + done, chunk, &got, nullptr)) {
      errorText_ = SystemText(::GetLastError());
      break;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

bool InputFile::Seek(std::uint64_t offset) {
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(offset);
  return handle_ && ::SetFilePointerEx(static_cast<HANDLE>(handle_), to, nullptr, FILE_BEGIN);
}

namespace {

FileIdentity IdentityOfHandle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) return {};
  FileIdentity identity;
  identity.exists = true;
  identity.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  // 100-nanosecond steps since 1601.
  const std::uint64_t written = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                info.ftLastWriteTime.dwLowDateTime;
  identity.modifiedSeconds = static_cast<std::int64_t>(written / 10000000);
  identity.modifiedNanoseconds = static_cast<std::int64_t>(written % 10000000) * 100;
  identity.fileNumber = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  identity.device = info.dwVolumeSerialNumber;
  return identity;
}

}  // namespace

FileIdentity FileIdentityOf(const std::filesystem::path& file) {
  // No access asked: only the file's attributes are read, and no reader or writer is locked out.
  HANDLE handle =
      ::CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  const FileIdentity identity = IdentityOfHandle(handle);
  ::CloseHandle(handle);
  return identity;
}

FileIdentity InputFile::Identity() const {
  if (!handle_) return {};
  return IdentityOfHandle(static_cast<HANDLE>(handle_));
}

std::optional<FileLock> FileLock::Acquire(const std::filesystem::path& lockFile,
                                          std::chrono::milliseconds wait, std::string* error,
                                          bool* busy) {
  if (busy) *busy = false;
  // Not inherited by a program started while it is held, which would hold the lock on after
  // this one died.
  HANDLE handle = ::CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    if (error) {
      *error = LoadStringWith(StringId::ErrorCannotOpen,
                              {PathText(lockFile), SystemText(::GetLastError())});
    }
    return std::nullopt;
  }
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    ::CloseHandle(handle);
    if (error) *error = LoadStringWith(StringId::ErrorNotRegularFile, {PathText(lockFile)});
    return std::nullopt;
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    OVERLAPPED at{};
    if (::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      break;
    }
    DWORD code = ::GetLastError();
    if (code != ERROR_LOCK_VIOLATION || std::chrono::steady_clock::now() >= deadline) {
      ::CloseHandle(handle);
      if (busy) *busy = code == ERROR_LOCK_VIOLATION;
      if (error) {
        *error =
            code == ERROR_LOCK_VIOLATION
                ? LoadStringWith(StringId::ErrorLockBusy, {PathText(lockFile)})
                : LoadStringWith(StringId::ErrorCannotOpen, {PathText(lockFile), SystemText(code)});
      }
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  FileLock lock;
  lock.handle_ = handle;
  return lock;
}

FileLock::FileLock(FileLock&& other) noexcept : handle_(other.handle_) {
  other.handle_ = nullptr;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

FileLock::~FileLock() {
  Release();
}

void FileLock::Release() {
  if (!handle_) return;
  OVERLAPPED at{};
  ::UnlockFileEx(static_cast<HANDLE>(handle_), 0, 1, 0, &at);
  ::CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

bool IsMarkedReadOnly(const std::filesystem::path& file) {
  DWORD attributes = ::GetFileAttributesW(FileBehindLinks(file).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_READONLY);
}

int ErrnoOfSystemCode(int code) {
  switch (static_cast<DWORD>(code)) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
#ifdef ERROR_DIRECTORY_NOT_SUPPORTED
    case ERROR_DIRECTORY_NOT_SUPPORTED:
      return EISDIR;
#endif
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_FILE_TOO_LARGE:
      return EFBIG;
    case ERROR_CANT_RESOLVE_FILENAME:  // a loop of links
      return ELOOP;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
      return EBUSY;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_NOT_READY:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
      return EIO;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_HANDLE:
    case ERROR_INVALID_NAME:
      return EINVAL;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
      return ENOSYS;
    case ERROR_BAD_NETPATH:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETWORK_UNREACHABLE:
      return ENETDOWN;
    case ERROR_SEM_TIMEOUT:
      return ETIMEDOUT;
    case ERROR_TOO_MANY_LINKS:
      return EMLINK;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    default:
      return 0;
  }
}

std::string PathText(const std::filesystem::path& path) {
  std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

std::filesystem::path RunningProgramFile() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);  // cut short: try again with room for a long path
  }
}

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!::GetComputerNameW(name, &length)) return {};
  return PathText(std::filesystem::path(std::wstring(name, length)));
}

bool CreateAndRemoveTestFile(const std::filesystem::path& file) {
  // A link in the test file's place is not followed: its target would be truncated.
  DWORD attributes = ::GetFileAttributesW(file.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return false;
  }
  HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool regular = ::GetFileType(handle) == FILE_TYPE_DISK;
  ::CloseHandle(handle);
  if (regular) ::DeleteFileW(file.c_str());
  return regular;
}

std::filesystem::path DefaultFloppyFolder() {
  return L"A:\\";
}

bool ToLocalTime(std::time_t when, std::tm& local) {
  return ::localtime_s(&local, &when) == 0;
}

std::filesystem::path FileBehindLinks(const std::filesystem::path& file) {
  DWORD attributes = ::GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return file;
  }
  // Opened through its links: the system names the file they lead to.
  HANDLE handle =
      ::CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return file;
  std::wstring name(MAX_PATH, L'\0');
  DWORD length = ::GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length >= name.size()) {
    name.resize(length + 1);
    length = ::GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  }
  ::CloseHandle(handle);
  if (length == 0 || length >= name.size()) return file;
  name.resize(length);
  return name;
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string* error) {
  auto fail = [error](const std::string& what, DWORD code) {
    if (error) *error = what + ": " + SystemText(code);
    return false;
  };
  const std::filesystem::path target = FileBehindLinks(file);
  // Only a file on a disk with one name is ever replaced: the rename would leave another hard
  // link holding the old content.
  HANDLE existing =
      ::CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (existing != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = ::GetFileType(existing) == FILE_TYPE_DISK;
    const bool known = disk && ::GetFileInformationByHandle(existing, &info);
    ::CloseHandle(existing);
    if (known && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      if (error)
        *error = LoadStringWith(StringId::ErrorCannotReplace, {PathText(file)}) + ": " +
                 LoadString(StringId::ReasonIsFolder);
      return false;
    }
    if (!disk) {
      if (error) *error = LoadStringWith(StringId::ErrorNotReplaceableKind, {PathText(file)});
      return false;
    }
    if (known && info.nNumberOfLinks > 1) {
      if (error) *error = LoadStringWith(StringId::ErrorHardLinked, {PathText(file)});
      return false;
    }
  }
  // A new name beside the file, so that the rename stays on one volume.
  std::filesystem::path temp;
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; handle == INVALID_HANDLE_VALUE; ++attempt) {
    temp = target;
    temp += std::filesystem::path(kTemporaryMark).native() +
            std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
    handle = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD code = ::GetLastError();
    if (handle == INVALID_HANDLE_VALUE && (code != ERROR_FILE_EXISTS || attempt > 100)) {
      return fail(LoadStringWith(StringId::ErrorNoTemporaryFile, {PathText(file)}), code);
    }
  }
  std::string_view rest = bytes;
  bool written = true;
  while (written && !rest.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1u << 30));
    DWORD done = 0;
    written = ::WriteFile(handle, rest.data(), chunk, &done, nullptr) && done > 0;
    if (written) rest.remove_prefix(done);
  }
  if (!written || !::FlushFileBuffers(handle)) {
    DWORD code = ::GetLastError();
    ::CloseHandle(handle);
    ::DeleteFileW(temp.c_str());
    return fail(LoadStringWith(StringId::ErrorCannotWrite, {PathText(temp)}), code);
  }
  ::CloseHandle(handle);
  if (!::MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD code = ::GetLastError();
    ::DeleteFileW(temp.c_str());
    return fail(LoadStringWith(StringId::ErrorCannotReplace, {PathText(file)}), code);
  }
  return true;
}

}  // namespace velunorh
