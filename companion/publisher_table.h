#pragma once

#include <vector>

#include "companion/publisher_record.h"

namespace velunorh {

// An in-memory table of 310 record slots. Slot i holds record i of the file; slot 0 of the
// current table is the header record. Slots past `count` may hold stale bytes and are never read.
struct PublisherTable {
  static constexpr int kSlots = 310;

  std::vector<PublisherRecord> slots;  // empty until allocated
  int count = 0;

  bool allocated() const { return !slots.empty(); }
  // True for a slot that holds a loaded record (0 .. count-1).
  bool IsLoaded(int slot) const { return slot >= 0 && slot < count && slot < int(slots.size()); }
  PublisherRecord& operator[](int slot) { return slots[slot]; }
  const PublisherRecord& operator[](int slot) const { return slots[slot]; }
};

}  // namespace velunorh
