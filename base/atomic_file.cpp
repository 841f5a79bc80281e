#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace velunorh {
namespace {

bool Fail(std::string* error, const std::string& what, int code) {
  if (error) *error = what + ": " + std::strerror(code);
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

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string* error) {
  std::string pattern = file.string() + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) return Fail(error, "cannot create a temporary file beside " + file.string(), errno);
  std::string temp(name.data());

  // Keep the permissions of the file being replaced; a new file gets the usual 0644.
  struct stat old {};
  mode_t mode = ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ::fchmod(fd, mode);

  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    int code = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    return Fail(error, "cannot write " + temp, code);
  }
  if (::close(fd) != 0) {
    int code = errno;
    ::unlink(temp.c_str());
    return Fail(error, "cannot write " + temp, code);
  }
  if (::rename(temp.c_str(), file.c_str()) != 0) {
    int code = errno;
    ::unlink(temp.c_str());
    return Fail(error, "cannot replace " + file.string(), code);
  }
  return true;
}

}  // namespace velunorh
