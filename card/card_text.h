#pragma once

#include <string>

#include "card/card_content.h"

namespace velunorh {

// The card's content as one line of text per item, for screen readers: what the two previews
// show, in the order they show it, labelled with the previews' own words.
std::string DescribeHeader(const CardContent& card);
std::string DescribeMonths(const CardContent& card);

}  // namespace velunorh
