#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "session/printer_margins.h"

namespace velunorh {

class ProfileFile;

// Every value kept in the settings file. Integers are the low 8 bits of what is stored.
struct AppSettings {
  int dataLocation = 0;              // "Data Location"/"Drive": 0 = working folder, 1 = drive A:
  bool firstNameSort = false;        // "FN Sort"/"Enabled": Portuguese edition only
  int dateFormat = 0;                // "Format"/"Alt Date Format": date style 0-3
  bool lastNameFirst = false;        // "Format"/"Last Name First"
  int cardVersion = 0;               // "Format"/"Card Version": check with ValidCardVersion
  std::string topMargin = "0.00";    // "Margins"/"Top": inches, kept as read
  std::string leftMargin = "0.20";   // "Margins"/"Left"
  PrinterMarginBook printerMargins;  // whose the margins are, and the other printers'

  // The 8-bit values as read: a box left as it was writes back what the file held (any non-zero
  // value means on), so only a real change turns it into 0 or 1.
  int firstNameSortStored = 1;
  int lastNameFirstStored = 0;

  bool operator==(const AppSettings&) const = default;
};

// Reads every setting; a missing or unreadable file, section or key gives the default.
// "FN Sort"/"Enabled" (default 1) is read only for the Portuguese edition; otherwise
// firstNameSort is false whatever the file holds.
AppSettings ReadSettings(const std::filesystem::path& file, std::string_view languageCode);

// Writes every setting in one atomic save, in this order: "Alt Date Format", "Last Name First",
// "Card Version", "Top", "Left", "Drive", and "FN Sort"/"Enabled" for the Portuguese edition
// only. Every other line of an existing file is kept. On failure `error` says why and the old
// file is left whole; a file that is there but cannot be read is not replaced.
bool WriteSettings(const std::filesystem::path& file, const AppSettings& settings,
                   std::string_view languageCode, std::string* error = nullptr);

// What a settings file can reasonably hold: every setting at its longest and the user's
// comments fit many times over. A larger file is not read (it reads as the defaults) and is
// never replaced.
inline constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;

// Loads a settings file, up to kMaxSettingsFileBytes.
bool LoadSettingsFile(ProfileFile& profile, const std::filesystem::path& file,
                      std::string* error = nullptr);

// Saves a settings file, unless the user made it read-only: then nothing is written and
// `error` says so, for a file set read-only is a choice to keep it as it is.
bool SaveSettingsFile(const ProfileFile& profile, const std::filesystem::path& file,
                      std::string* error = nullptr);

// A stored card version, or 0 when the edition has no such version.
int ValidCardVersion(int cardVersion, int versionCount);

}  // namespace velunorh
