#include "base/system_reason.h"

#include <cerrno>
#include <optional>
#include <string>

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
#ifdef EOVERFLOW
    case EOVERFLOW:
#endif
      return StringId::ReasonFileTooLarge;
#ifdef ELOOP
    case ELOOP:
#endif
      return StringId::ReasonLinkLoop;
    case ENAMETOOLONG:
      return StringId::ReasonNameTooLong;
    case ENOTDIR:
      return StringId::ReasonNotAFolder;
    case EEXIST:
      return StringId::ReasonExists;
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
      return StringId::ReasonBusy;
    case EIO:
      return StringId::ReasonIoError;
    case EMFILE:
    case ENFILE:
      return StringId::ReasonTooManyOpen;
    case ENOMEM:
      return StringId::ReasonNoMemory;
    case EXDEV:
      return StringId::ReasonOtherDevice;
    case EINVAL:
    case EBADF:
    case ESPIPE:
      return StringId::ReasonInvalid;
    case EAGAIN:
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EINTR:
#ifdef ENOLCK
    case ENOLCK:
#endif
#ifdef EDEADLK
    case EDEADLK:
#endif
      return StringId::ReasonTryAgain;
#ifdef ENOSYS
    case ENOSYS:
#endif
#ifdef ENOTSUP
    case ENOTSUP:
#endif
#if defined(EOPNOTSUPP) && defined(ENOTSUP) && EOPNOTSUPP != ENOTSUP
    case EOPNOTSUPP:
#endif
      return StringId::ReasonNotSupported;
#ifdef ESTALE
    case ESTALE:
#endif
#ifdef EHOSTDOWN
    case EHOSTDOWN:
#endif
#ifdef ENETDOWN
    case ENETDOWN:
#endif
#ifdef ENETUNREACH
    case ENETUNREACH:
#endif
#ifdef EHOSTUNREACH
    case EHOSTUNREACH:
#endif
#ifdef ENOTCONN
    case ENOTCONN:
#endif
#ifdef ECONNRESET
    case ECONNRESET:
#endif
#ifdef ECONNABORTED
    case ECONNABORTED:
#endif
#ifdef ECONNREFUSED
    case ECONNREFUSED:
#endif
      return StringId::ReasonNetwork;
#ifdef ETIMEDOUT
    case ETIMEDOUT:
#endif
      return StringId::ReasonTimedOut;
#ifdef EMLINK
    case EMLINK:
#endif
      return StringId::ReasonTooManyLinks;
    case ENOTEMPTY:
      return StringId::ReasonNotEmpty;
#ifdef ENXIO
    case ENXIO:
#endif
#ifdef ENODEV
    case ENODEV:
#endif
      return StringId::ReasonNoDevice;
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
  // The system's own text would be English (or the system's language): only the code is shown.
  return common ? LoadString(*common)
                : LoadStringWith(StringId::ReasonOther, {std::to_string(code.value())});
}

std::string SystemReasonOfCode(int code) {
  return SystemReason(std::error_code(code, std::system_category()));
}

}  // namespace velunorh
