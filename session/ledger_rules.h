#pragma once

#include <array>
#include <string>

#include "card/card_content.h"
#include "card/card_ledger_view.h"
#include "companion/publisher_table.h"
#include "session/card_selection.h"
#include "session/print_ledger.h"

namespace velunorh {

// The publisher as the ledger knows them, stable when the companion program re-sorts its table
// (the slot number is not): "id:<n>" for a publisher id of 10 or more that no other publisher
// of the table shares (ids below 10 are never used as ids); otherwise "nm:<digest>" of the raw
// family name, given name and date of birth, so that two publishers without ids stay apart.
std::string LedgerPublisherKey(const PublisherTable& table, int slot);

// What the previews show of a card's record (null: nothing recorded).
MonthlyLedgerView MonthlyLedgerOf(const CardContent& card, const CardRecord* record);
HeaderLedgerView HeaderLedgerOf(const CardContent& card, const CardRecord* record);

// The lines of a card that a print should put on it now: each month row whose box can be
// ticked and that prints a text not on the card yet (or changed since), the total row when its
// box can be ticked and it is not on the card as it is now, and the header when it was never
// printed or changed since.
struct DueLines {
  std::array<bool, 12> rows{};
  bool total = false;
  bool header = false;
  bool Any() const;
  bool operator==(const DueLines&) const = default;
};
DueLines DueOf(const CardContent& card, const CardRecord* record, const CardSelection& boxes);

// F/N of a print of the due lines: only with a due header, then as the user ticked it or as the
// edition ticks it. "Esedékes" and the due-only group print both take it from here.
bool DueGenderMarks(const DueLines& due, bool userTicked, bool editionTicks);

}  // namespace velunorh
