#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velunorh {

// Replaces `file` with `bytes` so that a crash, a full disk or a failed rename never leaves a
// truncated file: the bytes go to a temporary file in the same folder, are flushed to disk, and
// the temporary file is renamed over the old one. On failure the old file is untouched, the
// temporary file is removed, and `error` (when given) says what went wrong.
//
// When `file` is a symbolic link, the file it leads to is replaced (with the temporary file in
// that file's folder) and the link stays: a file kept on a share and linked to keeps being the
// one written.
//
// Only a regular file is ever replaced: a folder, device, FIFO or anything else at `file` or
// behind its links is refused, and so is a file with more than one name (a hard link), whose
// other names the rename would leave with the old content.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string* error = nullptr);

// The file a save of `file` replaces: `file` itself, or the file its symbolic links lead to
// (which need not exist yet).
std::filesystem::path FileBehindLinks(const std::filesystem::path& file);

// What the temporary files of a save are named: the file's name, this, and a unique ending.
inline constexpr std::string_view kTemporaryMark = ".velunorh-tmp-";

// Removes what saves of these files left behind when the program died during one: temporary
// files named as a save names them, beside the file a save replaces, written before this
// program started (and a minute more, so as not to take one from a copy saving right now).
// Nothing else is touched. Gives how many it removed.
int RemoveStaleTemporaries(const std::vector<std::filesystem::path>& files);

}  // namespace velunorh
