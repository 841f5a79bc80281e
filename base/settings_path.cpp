#include "base/settings_path.h"

#include <string>
#include <system_error>

namespace velunorh {
namespace {

constexpr std::string_view kSettingsExtension = ".INI";

bool HasFourCharacterExtension(const std::string& name) {
  if (name.size() < 5) return false;  // at least one character before the dot
  std::size_t dot = name.size() - 4;
  return name[dot] == '.' && name.find('.', dot + 1) == std::string::npos;
}

}  // namespace

std::filesystem::path SettingsFile(const std::filesystem::path& programFile) {
  std::string name = programFile.filename().string();
  std::string settingsName = name;
  if (HasFourCharacterExtension(name)) settingsName.resize(name.size() - 4);
  settingsName += kSettingsExtension;
  if (settingsName == name) settingsName += kSettingsExtension;
  return programFile.parent_path() / settingsName;
}

std::filesystem::path ProgramPath(std::string_view fallback) {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && !self.empty()) {
    // The kernel marks a program file replaced while running; the name is still the one meant.
    constexpr std::string_view kDeleted = " (deleted)";
    std::string text = self.string();
    if (text.ends_with(kDeleted)) text.resize(text.size() - kDeleted.size());
    return text;
  }
  std::filesystem::path path(fallback);
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute;
}

}  // namespace velunorh
