#pragma once

#include <string>

#include "companion/congregation_data.h"

namespace velunorh {

// The name the card's header shows, as the header preview prepares it: the full name of the
// publisher's extension record when `useFullName` is on and the record is usable with a full
// name; otherwise FormatName with the family name first or not. Loads the extension record.
std::string HeaderDisplayName(CongregationData& data, int slot, bool useFullName,
                              bool lastNameFirst);

}  // namespace velunorh
