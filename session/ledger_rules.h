#pragma once

#include <array>
#include <string>

#include "card/card_content.h"
#include "card/card_ledger_view.h"
#include "card/card_page.h"
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

// The lines of a card that a print should put on it now, those of which nothing is on the card
// yet: each month row whose box can be ticked and that prints a text, the total row when its box
// can be ticked, and the header. A line printed and changed since is never due.
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

// The lines a print of `page` would put where the ledger says ink already is: each ticked month
// row that prints a text and is recorded, the total and the header when recorded (as they are
// now or changed since: either way the card holds ink there).
DueLines OverprintOf(const CardContent& card, const CardRecord* record, const CardPageInput& page);
// The page without those lines.
CardPageInput WithoutOverprint(CardPageInput page, const DueLines& overprint);
// The lines as the user reads them: "Fejléc, Okt, Összes"; a line changed since it was printed
// with what changed: "Fejléc; Okt: Óra 24.75 → 29.75; Összes".
std::string LineNames(const CardContent& card, const CardRecord* record, const DueLines& lines);

}  // namespace velunorh
