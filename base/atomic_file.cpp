#include "base/atomic_file.h"

#include <chrono>
#include <system_error>

namespace velunorh {
namespace {

namespace fs = std::filesystem;

// Taken while the program's statics are made, before any of its saves.
const fs::file_time_type kProgramStarted = fs::file_time_type::clock::now();

// Names compare in the system's own characters: a name need not fit the narrow code page.
using NativeName = fs::path::string_type;

bool IsUniqueEnding(const NativeName& name, std::size_t from) {
  if (name.size() <= from || name.size() - from > 24) return false;
  for (std::size_t i = from; i < name.size(); ++i) {
    const auto c = name[i];
    bool letterOrDigit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letterOrDigit && c != '-') return false;
  }
  return true;
}

}  // namespace

int RemoveStaleTemporaries(const std::vector<fs::path>& files) {
  const fs::file_time_type before = kProgramStarted - std::chrono::minutes(1);
  int removed = 0;
  for (const fs::path& file : files) {
    const fs::path target = FileBehindLinks(file);
    const NativeName prefix = target.filename().native() + fs::path(kTemporaryMark).native();
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const NativeName name = it->path().filename().native();
      if (!name.starts_with(prefix) || !IsUniqueEnding(name, prefix.size())) continue;
      std::error_code entryError;
      if (!fs::is_regular_file(it->symlink_status(entryError)) || entryError) continue;
      const fs::file_time_type written = fs::last_write_time(it->path(), entryError);
      if (entryError || written >= before) continue;
      if (fs::remove(it->path(), entryError)) ++removed;
    }
  }
  return removed;
}

}  // namespace velunorh
