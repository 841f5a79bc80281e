#pragma once

#include <string>

#include "companion/publisher_table.h"

namespace velunorh {

// The publisher's name as "given family", or "family, given" with familyNameFirst. Fields are
// used exactly as decoded (UTF-8), without trimming, so an empty field keeps its separator.
// A slot below 1 or not loaded gives "".
std::string FormatName(const PublisherTable& table, int slot, bool familyNameFirst);

enum class WhichDate { kImmersed = 0, kBirth = 1 };

// A stored MMDDYYYY date in date style 0-3 (any other value acts as 3), with the rules of the
// edition's language code ("hun", "cz", or any other). A blank or short date, a slot below 1
// or a slot not loaded gives "". A month outside 01-12 shows its stored digits as the month name.
std::string FormatDate(const PublisherTable& table, int slot, WhichDate which, int dateFormat,
                       const std::string& languageCode);

// True when dateImmersed holds more than 4 characters once trimmed; false for a slot below 1
// or not loaded.
bool IsBaptized(const PublisherTable& table, int slot);

// Remove leading / trailing white space (blank, \t \n \v \f \r) in place.
void TrimLeft(std::string& text);
void TrimRight(std::string& text);

}  // namespace velunorh
