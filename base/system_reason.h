#pragma once

#include <string>
#include <system_error>

namespace velunorh {

// Why a file operation failed, for a message to the user, always in the edition's language:
// every reason a file's read or save can meet has its text, and any other gives a text with
// the bare code (never the system's own, English text).
std::string SystemReason(std::error_code code);

// The same for an errno value, or a Win32 error code on Windows (the system's error code).
std::string SystemReasonOfCode(int code);

}  // namespace velunorh
