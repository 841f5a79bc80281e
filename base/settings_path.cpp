#include "base/settings_path.h"

#include <string>
#include <system_error>

#include "base/platform.h"

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
  std::filesystem::path self = RunningProgramFile();
  if (!self.empty()) return self;
  std::error_code ec;
  std::filesystem::path path(fallback);
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute;
}

}  // namespace velunorh
