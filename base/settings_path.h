#pragma once

#include <filesystem>
#include <string_view>

namespace velunorh {

// The settings file of a program file: beside it, with its base name. A four-character
// extension of the file name (a dot and three characters that are not dots, after at least one
// character of name, as in "velunorh.exe") becomes ".INI"; any other name gets ".INI" appended
// ("velunorh" gives "velunorh.INI"). A folder's dots never count. When the rule would name the
// program file itself ("velunorh.INI"), ".INI" is appended instead, so the program is never
// overwritten by its settings.
std::filesystem::path SettingsFile(const std::filesystem::path& programFile);

// The running program's own file, as the system tells it. When it does not, `fallback` (argv[0])
// made absolute against the working folder.
std::filesystem::path ProgramPath(std::string_view fallback);

}  // namespace velunorh
