#include <system_error>

#include "base/platform.h"
#include "companion/congregation_data.h"
#include "companion/unscramble.h"

namespace velunorh {
namespace {

using R = PublisherRecord;

constexpr std::uintmax_t kSmallestPreviousYearFile = 500;

// Reads whole records into slots 0, 1, ... and gives their number. The read that meets the end
// of the file fills one more slot (zeros or a partial record) that is not counted. The table
// takes at most its capacity, so a longer file gives at most kSlots - 1 records and the rest of
// it is ignored.
int ReadRecords(const std::filesystem::path& file, PublisherTable& table) {
  InputFile in(file);
  if (!in.isOpen()) return 0;
  const int capacity = static_cast<int>(table.slots.size());
  int count = 0;
  while (count < capacity) {
    PublisherRecord& slot = table[count];
    slot.bytes.fill(0);
    const std::size_t got = in.Read(slot.bytes.data(), R::kSize);
    ++count;
    if (got < R::kSize) break;
  }
  return count > 0 ? count - 1 : 0;
}

void DecodeUnlessPlain(PublisherTable& table) {
  if (table.count > 0 && !table[0].IsPlainText()) UnscrambleTable(-1, table);
}

// No file: no password, plain text, no publishers.
void MakeDefaultHeader(PublisherRecord& header) {
  header.bytes.fill(0);
  header.bytes[R::kPlainTextMarker] = 'A';
  header.bytes[R::kPlainTextMarker + 1] = 0;
  header.bytes[R::kAccessPassword.offset] = ' ';
  header.bytes[R::kAccessPassword.offset + 1] = 0;
}

}  // namespace

void CongregationData::LoadPublisherFile() {
  if (!current.allocated()) return;
  current.count = ReadRecords(paths_.PublisherFile(), current);
  DecodeUnlessPlain(current);
  if (current.count == 0) {
    MakeDefaultHeader(current[0]);
    current.count = 1;
  }
}

bool CongregationData::PreviousYearAvailable() const {
  const auto file = paths_.PreviousYearFile();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size <= kSmallestPreviousYearFile) return false;
  return InputFile(file).isOpen();
}

void CongregationData::LoadPreviousYearFile(bool stopRequested) {
  if (stopRequested || !previous.allocated()) return;
  previous.count = ReadRecords(paths_.PreviousYearFile(), previous);
  DecodeUnlessPlain(previous);
  for (int month = 0; month < 12; ++month) LoadPreviousYearMonthRemarks(month);
}

void CongregationData::LinkPreviousYear() {
  for (int j = 1; j < current.count; ++j) {
    PublisherRecord& publisher = current[j];
    publisher.SetWord(R::kPreviousYearLink, 0);
    const std::uint16_t id = publisher.publisherId();
    if (id == 0) continue;
    const std::string given = publisher.RawText(R::kGivenName);
    const std::string family = publisher.RawText(R::kFamilyName);
    // Every match is taken: the last one wins.
    for (int l = 1; l < previous.count; ++l) {
      const PublisherRecord& candidate = previous[l];
      if (candidate.publisherId() != id) continue;
      if (candidate.RawText(R::kGivenName) == given ||
          candidate.RawText(R::kFamilyName) == family) {
        publisher.SetWord(R::kPreviousYearLink, static_cast<std::uint16_t>(l));
      }
    }
  }
}

}  // namespace velunorh
