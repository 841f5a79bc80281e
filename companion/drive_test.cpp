#include "companion/drive_test.h"

#include "base/platform.h"

namespace velunorh {

bool DriveTest(int choice, const std::filesystem::path& floppyFolder) {
  if (choice == 0) return true;
  return CreateAndRemoveTestFile(floppyFolder / "orsival.tst");
}

}  // namespace velunorh
