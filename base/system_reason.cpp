#include "base/system_reason.h"

#include <cerrno>
#include <optional>

#include "base/platform.h"
#include "base/string_table.h"

namespace velunorh {
namespace {

std::optional<StringId> CommonReason(int errnoValue) {
  switch (errnoValue) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:  // a full quota stops a save as a full disk does
#endif
      return StringId::ReasonNoSpace;
    case EACCES:
    case EPERM:
      return StringId::ReasonNoPermission;
    case EROFS:
      return StringId::ReasonReadOnlyFileSystem;
    case EISDIR:
      return StringId::ReasonIsFolder;
    case ENOENT:
      return StringId::ReasonNotFound;
    case EFBIG:
      return StringId::ReasonFileTooLarge;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string SystemReason(std::error_code code) {
  int errnoValue = 0;
  if (code.category() == std::generic_category()) {
    errnoValue = code.value();
  } else if (code.category() == std::system_category()) {
    errnoValue = ErrnoOfSystemCode(code.value());
  }
  std::optional<StringId> common = CommonReason(errnoValue);
  return common ? LoadString(*common) : code.message();
}

std::string SystemReasonOfCode(int code) {
  return SystemReason(std::error_code(code, std::system_category()));
}

}  // namespace velunorh
