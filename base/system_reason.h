#pragma once

#include <string>
#include <system_error>

namespace velunorh {

// Why a file operation failed, for a message to the user: the common reasons (no space, no
// permission, a read-only file system, a folder in the way, not found, a file too large) in
// the edition's language, the system's own text for the rest.
std::string SystemReason(std::error_code code);

// The same for an errno value, or a Win32 error code on Windows (the system's error code).
std::string SystemReasonOfCode(int code);

}  // namespace velunorh
