#include <algorithm>

#include "base/platform.h"
#include "companion/congregation_data.h"

namespace velunorh {

namespace {

// The lowest id a remark record may name, and the lowest id a publisher lookup answers.
constexpr std::uint16_t kLowestRemarkId = 11;
constexpr std::uint16_t kLowestPublisherId = 10;

bool IsMonth(int month) {
  return month >= 0 && month < 12;
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

void CongregationData::LoadMonthRemarks(int month) {
  LoadRemarks(paths_.RemarkFile(), month, currentRemarks_, current);
}

void CongregationData::LoadPreviousYearMonthRemarks(int month) {
  // Slots past the previous year's records brought no remark numbers from its file; clear what
  // an earlier load may have left there, so only this load's numbers are found.
  if (IsMonth(month)) {
    for (int slot = std::max(previous.count, 1); slot < int(previous.slots.size()); ++slot) {
      previous[slot].SetRemarkSlot(month, 0);
    }
  }
  LoadRemarks(paths_.PreviousYearRemarkFile(), month, previousRemarks_, previous);
}

// Fills `table` with the month's remarks in file order and stores each one's slot number in the
// month's remarkSlot byte of `target` at the index of the publisher's current slot.
void CongregationData::LoadRemarks(const std::filesystem::path& file, int month, RemarkTable& table,
                                   PublisherTable& target) {
  table.slots[0] = RemarkRecord{};
  table.count = 1;
  if (!IsMonth(month)) return;
  InputFile in(file);
  if (!in.isOpen()) return;

  while (table.count < RemarkTable::kSlots) {
    RemarkRecord record;
    // A trailing partial record is not a remark.
    if (in.Read(record.bytes.data(), record.bytes.size()) < record.bytes.size()) break;
    if (record.remarkMonth() != month + 1 || record.remarkPublisherId() < kLowestRemarkId) {
      continue;
    }
    record.TerminateText();
    table.slots[table.count] = record;
    const int slot = FindPublisherById(record.remarkPublisherId());
    // A remark of nobody takes no number: the next accepted record reuses its slot.
    if (slot == 0 || slot >= int(target.slots.size())) continue;
    target[slot].SetRemarkSlot(month, static_cast<std::uint8_t>(table.count));
    ++table.count;
  }
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
  // The slot numbers are those of the file as loaded; reading the month again reproduces them.
  RemarkTable& remarks = fromPreviousYear ? previousRemarks_ : currentRemarks_;
  if (fromPreviousYear) {
    LoadPreviousYearMonthRemarks(month);
  } else {
    LoadMonthRemarks(month);
  }
  // A number the file brought for a month without remarks may lie past the month's remarks.
  if (k < remarks.count && k < RemarkTable::kSlots) text = remarks.slots[k].remarkText();
  return !text.empty();
}

}  // namespace velunorh
