#pragma once

#include <filesystem>

namespace velunorh {

// Whether a data location can be used. The working folder (0) always can; drive A: (1) can
// when a test file can be created in its folder. The test file is always deleted again.
bool DriveTest(int choice, const std::filesystem::path& floppyFolder);

}  // namespace velunorh
