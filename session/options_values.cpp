#include "session/options_values.h"

#include "base/string_table.h"

namespace velunorh {

std::filesystem::path LayoutFile(const std::filesystem::path& workFolder, int version) {
  return workFolder / LayoutFileName(version);
}

std::string LayoutNotSavedMessage(const std::filesystem::path& file, const std::string& error) {
  return LoadStringWith(StringId::LayoutNotSaved, {file.string(), error});
}

std::string SwitchCardVersion(const std::filesystem::path& workFolder, OptionsValues& values,
                              int version) {
  std::string error;
  std::string problem;
  // Telling is better than losing the changes silently: the old version's file stays as it was,
  // and the switch goes on.
  if (!SaveLayout(values.layout, workFolder, values.cardVersion, &error))
    problem = LayoutNotSavedMessage(LayoutFile(workFolder, values.cardVersion), error);
  values.cardVersion = version;
  if (!LoadLayout(values.layout, workFolder, version)) MakeDefaultLayout(values.layout, version);
  return problem;
}

}  // namespace velunorh
