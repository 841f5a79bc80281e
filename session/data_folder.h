#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velunorh {

// The folder of the companion program's files chosen inside this program, kept in the settings
// file under a section of its own ("Data"/"Folder", UTF-8); the other settings never touch it.
// Nothing when none was chosen.
std::optional<std::filesystem::path> ReadRememberedDataFolder(
    const std::filesystem::path& settingsFile);

// Writes the folder, keeping every other line of the file. On failure `error` says why and the
// old file is left whole.
bool WriteRememberedDataFolder(const std::filesystem::path& settingsFile,
                               const std::filesystem::path& folder, std::string* error = nullptr);

// Whether a folder holds the companion's publisher file, so that a run can read it.
bool HoldsCompanionData(const std::filesystem::path& folder);

// The folder a run reads its files from. The working folder (where the program was started, or
// the folder the command line named) comes first when it holds the companion's files; else the
// remembered folder when it still does (a removed stick or a renamed folder does not); else the
// working folder, whose missing file the window then tells.
std::filesystem::path DataFolderAtStart(const std::filesystem::path& workFolder,
                                        const std::optional<std::filesystem::path>& remembered);

}  // namespace velunorh
