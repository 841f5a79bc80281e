#include "companion/file_identity.h"

#include <sys/stat.h>

namespace velunorh {
namespace {

FileIdentity FromStat(const struct stat& st) {
  FileIdentity identity;
  identity.exists = true;
  identity.size = static_cast<std::uint64_t>(st.st_size);
  identity.modifiedSeconds = st.st_mtim.tv_sec;
  identity.modifiedNanoseconds = st.st_mtim.tv_nsec;
  identity.inode = st.st_ino;
  identity.device = st.st_dev;
  return identity;
}

}  // namespace

FileIdentity FileIdentity::Of(const std::filesystem::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return {};
  return FromStat(st);
}

FileIdentity FileIdentity::OfDescriptor(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return {};
  return FromStat(st);
}

}  // namespace velunorh
