#include "companion/congregation_data.h"

#include <new>

namespace velunorh {

bool CongregationData::AllocateTables() {
  try {
    current.slots.assign(PublisherTable::kSlots, PublisherRecord{});
    previous.slots.assign(PublisherTable::kSlots, PublisherRecord{});
  } catch (const std::bad_alloc&) {
    ReleaseTables();
    return false;
  }
  current.count = 0;
  previous.count = 0;
  currentRemarks_.changes.clear();
  previousRemarks_.changes.clear();
  return true;
}

void CongregationData::ReleaseTables() {
  for (PublisherTable* table : {&current, &previous}) {
    table->slots.clear();
    table->slots.shrink_to_fit();
    table->count = 0;
  }
  currentRemarks_.changes.clear();
  previousRemarks_.changes.clear();
}

void CongregationData::LoadAllData(bool& stopRequested, const PasswordCheck& checkPassword) {
  if (!current.allocated() || !previous.allocated()) return;
  // A reload must not keep the previous year of another data source when this one has none.
  previous.count = 0;
  // Taken before the reading: a file written while it is read shows as changed next time.
  loadedFiles_ = CompanionFileIdentities();

  LoadPublisherFile();
  if (!stopRequested && checkPassword && !checkPassword(current[0])) stopRequested = true;
  CountExtensions();
  LoadRemarks(paths_.RemarkFile(), 0, 11, currentRemarks_, current);
  if (PreviousYearAvailable()) {
    LoadPreviousYearFile(stopRequested);
    if (previous.count >= 1) LinkPreviousYear();
  }
}

std::array<FileIdentity, 3> CongregationData::CompanionFileIdentities() const {
  return {FileIdentityOf(paths_.PublisherFile()), FileIdentityOf(paths_.PreviousYearFile()),
          FileIdentityOf(paths_.ExtensionFile())};
}

bool CongregationData::CompanionFilesChanged() const {
  return CompanionFileIdentities() != loadedFiles_;
}

}  // namespace velunorh
