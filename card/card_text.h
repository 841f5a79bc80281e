#pragma once

#include <string>

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

}  // namespace velunorh
