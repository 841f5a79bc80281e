#include <algorithm>
#include <utility>
#include <vector>

#include "base/platform.h"
#include "companion/congregation_data.h"

namespace velunorh {

namespace {

// The lowest id a remark record may name, and the lowest id a publisher lookup answers.
constexpr std::uint16_t kLowestRemarkId = 11;
constexpr std::uint16_t kLowestPublisherId = 10;
// Records taken from the file at one read: the full-size file in a few reads, and a file that is
// far too long (a damaged one) costs no more memory than this.
constexpr std::size_t kRecordsPerRead = 1024;
// The most records the format can mean: a remark for every id of its 16 bits in each month.
// What a longer file holds past them is not read.
constexpr std::size_t kMaxRemarkRecords = std::size_t{12} * 65536;

bool IsMonth(int month) {
  return month >= 0 && month < 12;
}

// The current table's publishers by id: the first slot of each id, as the search through the
// table gives it, found without the search. Ids are 16 bits, so a slot per id up to the highest.
class PublisherIndex {
 public:
  explicit PublisherIndex(const PublisherTable& table) {
    const int end = std::min(table.count, int(table.slots.size()));
    std::uint16_t highest = 0;
    for (int slot = 1; slot < end; ++slot) highest = std::max(highest, table[slot].publisherId());
    slots_.assign(std::size_t(highest) + 1, 0);
    // From the last slot down, so the first slot of an id is the one kept.
    for (int slot = end - 1; slot >= 1; --slot) {
      const std::uint16_t id = table[slot].publisherId();
      if (id >= kLowestPublisherId) slots_[id] = static_cast<std::uint16_t>(slot);
    }
  }
  int SlotOf(std::uint16_t id) const { return id < slots_.size() ? slots_[id] : 0; }

 private:
  std::vector<std::uint16_t> slots_;
};

const RemarkTable& NoRemarks() {
  static const RemarkTable none;
  return none;
}

}  // namespace

int CongregationData::FindPublisherById(std::uint16_t id) const {
  if (id < kLowestPublisherId) return 0;
  const int end = std::min(current.count, int(current.slots.size()));
  for (int slot = 1; slot < end; ++slot) {
    if (current[slot].publisherId() == id) return slot;
  }
  return 0;
}

const RemarkTable& CongregationData::currentRemarks(int month) const {
  return IsMonth(month) ? currentRemarks_.months[month] : NoRemarks();
}

const RemarkTable& CongregationData::previousRemarks(int month) const {
  return IsMonth(month) ? previousRemarks_.months[month] : NoRemarks();
}

void CongregationData::LoadMonthRemarks(int month) {
  if (IsMonth(month)) LoadRemarks(paths_.RemarkFile(), month, month, currentRemarks_, current);
}

void CongregationData::LoadPreviousYearMonthRemarks(int month) {
  if (IsMonth(month)) LoadPreviousYearRemarks(month, month);
}

void CongregationData::LoadPreviousYearRemarks(int first, int last) {
  // Slots past the previous year's records brought no remark numbers from its file; clear what
  // an earlier load may have left there, so only this load's numbers are found.
  for (int month = first; month <= last; ++month) {
    for (int slot = std::max(previous.count, 1); slot < int(previous.slots.size()); ++slot) {
      previous[slot].SetRemarkSlot(month, 0);
    }
  }
  LoadRemarks(paths_.PreviousYearRemarkFile(), first, last, previousRemarks_, previous);
}

// Fills each month's table with its remarks in file order and stores each one's slot number in
// the month's remarkSlot byte of `target` at the index of the publisher's current slot.
void CongregationData::LoadRemarks(const std::filesystem::path& file, int first, int last,
                                   RemarkYear& year, PublisherTable& target) {
  for (int month = first; month <= last; ++month) {
    year.months[month] = RemarkTable{};
    year.read[month] = true;
  }
  InputFile in(file);
  if (!in.isOpen()) {
    // A file that cannot be opened (or is no plain file) is read again only once it changed.
    year.identity = FileIdentityOf(file);
    return;
  }
  year.identity = in.Identity();

  // Room for as many remarks as the file may give each month, taken once.
  const std::size_t fileRecords = year.identity.size / RemarkRecord::kSize;
  for (int month = first; month <= last; ++month) {
    year.months[month].slots.reserve(std::min<std::size_t>(fileRecords + 1, RemarkTable::kSlots));
  }
  year.changes.reserve(year.changes.size() +
                       std::min<std::size_t>(fileRecords, 12 * RemarkTable::kSlots));
  const PublisherIndex index(current);
  int monthsOpen = last - first + 1;
  std::vector<std::uint8_t> buffer(kRecordsPerRead * RemarkRecord::kSize);
  for (std::size_t recordsLeft = kMaxRemarkRecords; recordsLeft > 0;) {
    const std::size_t want = std::min(recordsLeft, kRecordsPerRead) * RemarkRecord::kSize;
    const std::size_t filled = in.Read(buffer.data(), want);
    // A trailing partial record is not a remark.
    const std::size_t records = filled / RemarkRecord::kSize;
    for (std::size_t i = 0; i < records && monthsOpen > 0; ++i) {
      const std::uint8_t* bytes = buffer.data() + i * RemarkRecord::kSize;
      const int month = bytes[RemarkRecord::kRemarkMonth] - 1;
      const auto id =
          static_cast<std::uint16_t>(bytes[RemarkRecord::kRemarkPublisherId] |
                                     (bytes[RemarkRecord::kRemarkPublisherId + 1] << 8));
      if (month < first || month > last || id < kLowestRemarkId) continue;
      RemarkTable& table = year.months[month];
      if (table.count >= RemarkTable::kSlots) continue;
      const int slot = index.SlotOf(id);
      // A remark of nobody takes no number: the next accepted record takes its place.
      if (slot == 0 || slot >= int(target.slots.size())) continue;
      // Copied into its place and ended there (a copy on the way costs a stalled reload).
      RemarkRecord& record = table.slots.emplace_back();
      std::copy_n(bytes, RemarkRecord::kSize, record.bytes.begin());
      record.TerminateText();
      year.changes.push_back({slot, month, target[slot].remarkSlot(month)});
      target[slot].SetRemarkSlot(month, static_cast<std::uint8_t>(table.count));
      ++table.count;
      if (table.count == RemarkTable::kSlots) --monthsOpen;
    }
    recordsLeft -= records;
    if (filled < want || monthsOpen == 0) break;
  }
}

void CongregationData::UndoRemarkSlots(RemarkYear& year, PublisherTable& target) {
  for (auto change = year.changes.rbegin(); change != year.changes.rend(); ++change) {
    if (change->slot < int(target.slots.size())) {
      target[change->slot].SetRemarkSlot(change->month, change->before);
    }
  }
  year.changes.clear();
}

bool CongregationData::RefreshRemarksIfChanged() {
  bool changed = false;
  const auto anyRead = [](const RemarkYear& year) {
    return std::find(year.read.begin(), year.read.end(), true) != year.read.end();
  };
  if (anyRead(currentRemarks_) && FileIdentityOf(paths_.RemarkFile()) != currentRemarks_.identity) {
    UndoRemarkSlots(currentRemarks_, current);
    LoadRemarks(paths_.RemarkFile(), 0, 11, currentRemarks_, current);
    changed = true;
  }
  // Without a loaded previous year its remarks are never asked for.
  if (previous.count > 0 && anyRead(previousRemarks_) &&
      FileIdentityOf(paths_.PreviousYearRemarkFile()) != previousRemarks_.identity) {
    UndoRemarkSlots(previousRemarks_, previous);
    LoadPreviousYearRemarks(0, 11);
    changed = true;
  }
  return changed;
}

bool CongregationData::GetRemark(int slot, int month, bool fromPreviousYear, std::string& text) {
  if (!IsMonth(month) || slot < 1 || !current.IsLoaded(slot)) return false;
  PublisherTable& table = fromPreviousYear ? previous : current;
  // Without a loaded previous year its table holds nothing of this data.
  if (fromPreviousYear && previous.count == 0) return false;
  if (slot >= int(table.slots.size())) return false;
  const int k = table[slot].remarkSlot(month);
  if (k == 0) return false;

  text.clear();
  RemarkYear& year = fromPreviousYear ? previousRemarks_ : currentRemarks_;
  // A month never read (no load went before) is read now, as the load would have.
  if (!year.read[month]) {
    if (fromPreviousYear) {
      LoadPreviousYearMonthRemarks(month);
    } else {
      LoadMonthRemarks(month);
    }
  }
  // A number the file brought for a month without remarks may lie past the month's remarks.
  const RemarkTable& remarks = year.months[month];
  if (k < remarks.count) text = remarks.slots[k].remarkText();
  return !text.empty();
}

}  // namespace velunorh
