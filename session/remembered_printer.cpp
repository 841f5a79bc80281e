#include "session/remembered_printer.h"

#include "base/profile_file.h"
#include "base/string_table.h"
#include "session/app_settings.h"

namespace velunorh {
namespace {

constexpr char kSection[] = "Printer";
constexpr char kKey[] = "Name";

}  // namespace

std::string ReadRememberedPrinter(const std::filesystem::path& settingsFile) {
  ProfileFile profile;
  LoadSettingsFile(profile, settingsFile);
  return profile.ReadText(kSection, kKey, "");
}

bool WriteRememberedPrinter(const std::filesystem::path& settingsFile, const std::string& name,
                            std::string* error) {
  ProfileFile profile;
  if (!LoadSettingsFile(profile, settingsFile, error)) return false;
  if (profile.ReadText(kSection, kKey, "") == name) return true;
  // In quotes when its end blanks or quotes would be lost: it must match the margins' owner.
  if (!profile.WriteText(kSection, kKey, QuotedProfileValue(name))) {
    if (error) *error = LoadString(StringId::ErrorPrinterName);
    return false;
  }
  return SaveSettingsFile(profile, settingsFile, error);
}

}  // namespace velunorh
