#include "session/data_folder.h"

#include "base/platform.h"
#include "base/profile_file.h"
#include "base/string_table.h"
#include "companion/data_paths.h"
#include "session/app_settings.h"
#include "session/change_data_source.h"

namespace velunorh {
namespace {

constexpr char kSection[] = "Data";
constexpr char kKey[] = "Folder";

}  // namespace

std::optional<std::filesystem::path> ReadRememberedDataFolder(
    const std::filesystem::path& settingsFile) {
  ProfileFile profile;
  LoadSettingsFile(profile, settingsFile);
  const std::string text = profile.ReadText(kSection, kKey, "");
  if (text.empty()) return std::nullopt;
  // Stored as UTF-8: on Windows a narrow path would go through the code page.
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

bool WriteRememberedDataFolder(const std::filesystem::path& settingsFile,
                               const std::filesystem::path& folder, std::string* error) {
  ProfileFile profile;
  if (!LoadSettingsFile(profile, settingsFile, error)) return false;
  const std::string text = PathText(folder);
  if (profile.ReadText(kSection, kKey, "") == text) return true;
  if (!profile.WriteText(kSection, kKey, text)) {
    if (error) *error = LoadStringWith(StringId::ErrorDataFolderName, {text});
    return false;
  }
  return SaveSettingsFile(profile, settingsFile, error);
}

bool HoldsCompanionData(const std::filesystem::path& folder) {
  DataPaths paths;
  paths.folder = folder;
  paths.dataLocation = 0;
  return HoldsPublisherData(paths.PublisherFile());
}

std::filesystem::path DataFolderAtStart(const std::filesystem::path& workFolder,
                                        const std::optional<std::filesystem::path>& remembered) {
  if (HoldsCompanionData(workFolder) || !remembered || !HoldsCompanionData(*remembered))
    return workFolder;
  return *remembered;
}

}  // namespace velunorh
