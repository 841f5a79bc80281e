#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include "base/platform.h"
#include "companion/congregation_data.h"
#include "companion/unscramble.h"

namespace velunorh {
namespace {

using R = PublisherRecord;

constexpr std::uintmax_t kSmallestPreviousYearFile = 500;

// Reads whole records into slots 0, 1, ... and gives their number. The slot after the last
// whole record gets what the file holds past it (a partial record or nothing), zero-filled, and
// is not counted. The table takes at most its capacity, so a longer file gives at most
// kSlots - 1 records and the rest of it is ignored. One read for the whole table.
int ReadRecords(const std::filesystem::path& file, PublisherTable& table) {
  static_assert(sizeof(PublisherRecord) == R::kSize, "records lie back to back in the table");
  InputFile in(file);
  if (!in.isOpen()) return 0;
  const std::size_t capacity = table.slots.size();
  if (capacity == 0) return 0;
  auto* begin = reinterpret_cast<char*>(table.slots.data());
  const std::size_t got = in.Read(begin, capacity * R::kSize);
  const std::size_t whole = got / R::kSize;
  if (whole < capacity) {
    auto& tail = table[static_cast<int>(whole)].bytes;
    std::fill(tail.begin() + static_cast<std::ptrdiff_t>(got % R::kSize), tail.end(), 0);
  }
  return static_cast<int>(std::min(whole, capacity - 1));
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
  // The remark numbers a reading put in the table went with the records just replaced.
  currentRemarks_.changes.clear();
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
  previousRemarks_.changes.clear();
  DecodeUnlessPlain(previous);
  LoadPreviousYearRemarks(0, 11);
}

void CongregationData::LinkPreviousYear() {
  // The previous year's slots by id, in slot order within an id.
  std::vector<std::pair<std::uint16_t, int>> byId;
  byId.reserve(std::size_t(std::max(previous.count, 0)));
  for (int l = 1; l < previous.count; ++l) byId.emplace_back(previous[l].publisherId(), l);
  std::sort(byId.begin(), byId.end());

  for (int j = 1; j < current.count; ++j) {
    PublisherRecord& publisher = current[j];
    publisher.SetWord(R::kPreviousYearLink, 0);
    const std::uint16_t id = publisher.publisherId();
    if (id == 0) continue;
    const std::string given = publisher.RawText(R::kGivenName);
    const std::string family = publisher.RawText(R::kFamilyName);
    // Every match is taken: the last one wins.
    for (auto it = std::lower_bound(byId.begin(), byId.end(), std::pair{id, 0});
         it != byId.end() && it->first == id; ++it) {
      const PublisherRecord& candidate = previous[it->second];
      if (candidate.RawText(R::kGivenName) == given ||
          candidate.RawText(R::kFamilyName) == family) {
        publisher.SetWord(R::kPreviousYearLink, static_cast<std::uint16_t>(it->second));
      }
    }
  }
}

}  // namespace velunorh
