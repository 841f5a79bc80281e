#pragma once

#include <filesystem>

#include "base/platform.h"

namespace velunorh {

// Where the companion program's files are found. Only the publisher file follows the data
// location; the extension, remark and previous-year files always lie in the working folder.
struct DataPaths {
  std::filesystem::path folder = ".";                          // the process's current folder
  std::filesystem::path floppyFolder = DefaultFloppyFolder();  // drive A:
  int dataLocation = 0;  // 0 = current drive and folder, 1 = drive A:
  int currentDrive = 3;  // 1 = A: (the working folder lies in the floppy folder), else 3 = C:

  std::filesystem::path PublisherFile() const;
  std::filesystem::path PreviousYearFile() const;
  std::filesystem::path ExtensionFile() const;
  std::filesystem::path RemarkFile() const;
  std::filesystem::path PreviousYearRemarkFile() const;
};

// 1 when `folder` lies inside `floppyFolder`, else 3.
int CurrentDriveNumber(const std::filesystem::path& folder,
                       const std::filesystem::path& floppyFolder);

}  // namespace velunorh
