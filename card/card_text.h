#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_content.h"
#include "card/card_ledger_view.h"

namespace velunorh {

// The card's content as one line of text per item, for screen readers: what the two previews
// show, in the order they show it, labelled with the previews' own words.
std::string DescribeHeader(const CardContent& card);
std::string DescribeMonths(const CardContent& card);

// What the previews' ledger marks say, for screen readers: which months are on the card, which
// changed since, and whether the header was printed.
std::string MonthlyLedgerText(const CardContent& card, const MonthlyLedgerView& view);
std::string HeaderLedgerText(const CardContent& card, const HeaderLedgerView& view);

// The items of a card as the ledger's texts count them: 0 the header, 1-12 the month rows
// (September first), 13 the total.
inline constexpr int kLedgerItems = 14;
// An item's name: "Fejléc", "Okt", "Összes".
std::string LedgerItemName(const CardContent& card, int item);
// What changed of an item since it was printed, field by field from the values the ledger kept
// of the print (see card/ledger_values.h): "Okt: Óra 24.75 → 29.75". The item's name alone when
// there are no values, or when they are not those of `digest` (a ledger written before the
// values were kept, or another program's hand in it), or when nothing the card shows differs.
std::string LedgerChangeText(const CardContent& card, int item, std::string_view values,
                             std::uint64_t digest);
// Items as one list: "Fejléc, Okt", or "Fejléc; Okt: Óra 24.75 → 29.75, UL 3 → 4" when one of
// them tells its fields.
std::string LedgerItemList(const std::vector<std::string>& items);

}  // namespace velunorh
