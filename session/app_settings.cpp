#include "session/app_settings.h"

#include "base/edition.h"
#include "base/platform.h"
#include "base/profile_file.h"
#include "base/string_table.h"

namespace velunorh {
namespace {

constexpr std::string_view kDataLocation = "Data Location";
constexpr std::string_view kDrive = "Drive";
constexpr std::string_view kFnSort = "FN Sort";
constexpr std::string_view kEnabled = "Enabled";
constexpr std::string_view kFormat = "Format";
constexpr std::string_view kAltDateFormat = "Alt Date Format";
constexpr std::string_view kLastNameFirst = "Last Name First";
constexpr std::string_view kCardVersion = "Card Version";
constexpr std::string_view kMargins = "Margins";
constexpr std::string_view kTop = "Top";
constexpr std::string_view kLeft = "Left";

// What a boolean setting writes: the stored value while the bool still says the same.
int StoredFlag(bool flag, int stored) {
  return flag == (stored != 0) ? stored : (flag ? 1 : 0);
}

}  // namespace

AppSettings ReadSettings(const std::filesystem::path& file, std::string_view languageCode) {
  ProfileFile profile;
  LoadSettingsFile(profile, file);  // an unreadable file reads as empty: the defaults

  AppSettings settings;
  settings.dataLocation = profile.ReadInt(kDataLocation, kDrive, 0);
  if (IsPortuguese(languageCode)) {
    settings.firstNameSortStored = profile.ReadInt(kFnSort, kEnabled, 1);
    settings.firstNameSort = settings.firstNameSortStored != 0;
  }
  settings.dateFormat = profile.ReadInt(kFormat, kAltDateFormat, 0);
  settings.lastNameFirstStored = profile.ReadInt(kFormat, kLastNameFirst, 0);
  settings.lastNameFirst = settings.lastNameFirstStored != 0;
  settings.cardVersion = profile.ReadInt(kFormat, kCardVersion, 0);
  settings.topMargin = profile.ReadText(kMargins, kTop, "0.00");
  settings.leftMargin = profile.ReadText(kMargins, kLeft, "0.20");
  settings.printerMargins = ReadPrinterMargins(profile);
  return settings;
}

bool WriteSettings(const std::filesystem::path& file, const AppSettings& settings,
                   std::string_view languageCode, std::string* error) {
  ProfileFile profile;
  if (!LoadSettingsFile(profile, file, error)) return false;

  bool written =
      profile.WriteInt(kFormat, kAltDateFormat, settings.dateFormat) &&
      profile.WriteInt(kFormat, kLastNameFirst,
                       StoredFlag(settings.lastNameFirst, settings.lastNameFirstStored)) &&
      profile.WriteInt(kFormat, kCardVersion, settings.cardVersion) &&
      profile.WriteText(kMargins, kTop, settings.topMargin) &&
      profile.WriteText(kMargins, kLeft, settings.leftMargin) &&
      profile.WriteInt(kDataLocation, kDrive, settings.dataLocation) &&
      WritePrinterMargins(profile, settings.printerMargins);
  if (written && IsPortuguese(languageCode)) {
    written = profile.WriteInt(kFnSort, kEnabled,
                               StoredFlag(settings.firstNameSort, settings.firstNameSortStored));
  }
  if (!written) {
    if (error) *error = "a margin holds a line break";
    return false;
  }
  return SaveSettingsFile(profile, file, error);
}

bool LoadSettingsFile(ProfileFile& profile, const std::filesystem::path& file, std::string* error) {
  return profile.Load(file, error, kMaxSettingsFileBytes);
}

bool SaveSettingsFile(const ProfileFile& profile, const std::filesystem::path& file,
                      std::string* error) {
  if (IsMarkedReadOnly(file)) {
    if (error) *error = LoadString(StringId::SettingsFileReadOnly);
    return false;
  }
  return profile.Save(file, error);
}

int ValidCardVersion(int cardVersion, int versionCount) {
  return cardVersion < 0 || cardVersion >= versionCount ? 0 : cardVersion;
}

}  // namespace velunorh
