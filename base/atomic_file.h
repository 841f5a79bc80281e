#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velunorh {

// Replaces `file` with `bytes` so that a crash, a full disk or a failed rename never leaves a
// truncated file: the bytes go to a temporary file in the same folder, are flushed to disk, and
// the temporary file is renamed over the old one. On failure the old file is untouched, the
// temporary file is removed, and `error` (when given) says what went wrong.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string* error = nullptr);

}  // namespace velunorh
