#include "companion/drive_test.h"

#include <fcntl.h>
#include <unistd.h>

namespace velunorh {

bool DriveTest(int choice, const std::filesystem::path& floppyFolder) {
  if (choice == 0) return true;
  const std::filesystem::path testFile = floppyFolder / "orsival.tst";
  // A link in place of the test file would let the truncation reach a file elsewhere.
  int fd = ::open(testFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(testFile.c_str());
  return true;
}

}  // namespace velunorh
