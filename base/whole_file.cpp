#include "base/whole_file.h"

#include <algorithm>

#include "base/platform.h"
#include "base/string_table.h"

namespace velunorh {
namespace {

WholeFile Refused(WholeFile::Status status, std::string error) {
  WholeFile result;
  result.status = status;
  result.error = std::move(error);
  return result;
}

WholeFile TooLarge(const std::filesystem::path& file, std::size_t maxBytes) {
  return Refused(
      WholeFile::Status::kTooLarge,
      LoadStringWith(StringId::ErrorFileTooLarge, {PathText(file), std::to_string(maxBytes)}));
}

}  // namespace

WholeFile ReadFileUpTo(const std::filesystem::path& file, std::size_t maxBytes) {
  InputFile in(file);
  switch (in.status()) {
    case InputFile::Status::kMissing:
      return {};
    case InputFile::Status::kNotRegular:
      return Refused(WholeFile::Status::kNotRegular,
                     LoadStringWith(StringId::ErrorNotRegularFile, {PathText(file)}));
    case InputFile::Status::kFailed:
      return Refused(WholeFile::Status::kFailed,
                     LoadStringWith(StringId::ErrorCannotOpen, {PathText(file), in.errorText()}));
    case InputFile::Status::kOpen:
      break;
  }
  // The size says enough without a read; the read then stops one byte past the limit in case
  // the file grew meanwhile.
  if (in.Identity().size > maxBytes) return TooLarge(file, maxBytes);
  WholeFile result;
  result.bytes.reserve(std::min<std::size_t>(in.Identity().size, maxBytes) + 1);
  constexpr std::size_t kChunk = 64 * 1024;
  for (;;) {
    const std::size_t used = result.bytes.size();
    const std::size_t want = std::min(kChunk, maxBytes + 1 - used);
    result.bytes.resize(used + want);
    const std::size_t got = in.Read(result.bytes.data() + used, want);
    result.bytes.resize(used + got);
    if (result.bytes.size() > maxBytes) return TooLarge(file, maxBytes);
    if (got < want) break;
  }
  if (!in.errorText().empty()) {
    return Refused(WholeFile::Status::kFailed,
                   LoadStringWith(StringId::ErrorCannotRead, {PathText(file), in.errorText()}));
  }
  result.status = WholeFile::Status::kRead;
  return result;
}

}  // namespace velunorh
