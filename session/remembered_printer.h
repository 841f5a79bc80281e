#pragma once

#include <filesystem>
#include <string>

namespace velunorh {

// The printer chosen in the print setup, kept in the settings file under a section of its own
// ("Printer"/"Name"); the other settings never touch it.
std::string ReadRememberedPrinter(const std::filesystem::path& settingsFile);

// Writes the name, keeping every other line of the file. Nothing is written when the file
// already holds the name. On failure `error` says why and the old file is left whole.
bool WriteRememberedPrinter(const std::filesystem::path& settingsFile, const std::string& name,
                            std::string* error = nullptr);

}  // namespace velunorh
