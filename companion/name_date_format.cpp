#include "companion/name_date_format.h"

#include <algorithm>
#include <cstddef>

#include "base/codepage.h"
#include "base/edition.h"
#include "base/string_table.h"
#include "base/text_number.h"

namespace velunorh {
namespace {

// A stored date is 8 characters MMDDYYYY at the start of its 9-byte field.
constexpr std::size_t kStoredDateChars = 8;
constexpr std::size_t kMinDateText = 8;

// The C library's isspace in the "C" locale.
bool IsWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool HasPublisher(const PublisherTable& table, int slot) {
  return slot >= 1 && table.IsLoaded(slot);
}

PublisherRecord::Field DateField(WhichDate which) {
  return which == WhichDate::kBirth ? PublisherRecord::kDateOfBirth
                                    : PublisherRecord::kDateImmersed;
}

// The stored characters c0..c7 written as c0c1/c2c3/c4c5c6c7, still in the code page. A NUL
// ends the text where it stands, so a short date also comes out short.
std::string SlashedDate(const PublisherRecord& record, PublisherRecord::Field field) {
  const std::size_t stored = std::min(kStoredDateChars, field.width);
  std::string text;
  for (std::size_t i = 0; i < stored; ++i) {
    if (i == 2 || i == 4) text += '/';
    const char c = static_cast<char>(record.Byte(field.offset + i));
    if (c == '\0') break;
    text += c;
  }
  return text;
}

// The name of month 1-12 in a written date; "" for any other number.
std::string DateMonthName(int month) {
  return LoadStringOfRun(StringId::DateMonthJanuary, 12, month - 1);
}

// A month number outside 1-12 has no name; the stored digits say more than an empty name, so
// they stand in for it.
std::string MonthName(const std::string& monthDigits) {
  const int month = LeadingInteger(monthDigits);
  if (month < 1 || month > 12) return CodePageToUtf8(monthDigits);
  return DateMonthName(month);
}

struct DateParts {
  std::string month;  // the two month characters, UTF-8
  std::string day;
  std::string year;
  std::string monthName;
};

// Cut in the code page, before any character can grow to several bytes; substr never reads
// past an 8-character text, where the year is only two characters.
DateParts SplitDate(const std::string& text) {
  const std::string month = text.substr(0, 2);
  return {CodePageToUtf8(month), CodePageToUtf8(text.substr(3, 2)),
          CodePageToUtf8(text.substr(6, 4)), MonthName(month)};
}

std::string MonthNameStyle(const DateParts& d, const std::string& languageCode) {
  if (IsCzech(languageCode)) return d.day + "/" + d.month + "/" + d.year;
  if (languageCode == "hun") return d.year + ". " + d.monthName + ". " + d.day + ".";
  return d.monthName + " " + d.day + ", " + d.year;
}

std::string DayFirstStyle(const DateParts& d, const std::string& languageCode) {
  if (languageCode == "hun") return d.year + "-" + d.month + "-" + d.day;
  return d.day + " " + d.monthName + ", " + d.year;
}

}  // namespace

void TrimLeft(std::string& text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsWhiteSpace);
  text.erase(text.begin(), first);
}

void TrimRight(std::string& text) {
  const auto last = std::find_if_not(text.rbegin(), text.rend(), IsWhiteSpace);
  text.erase(last.base(), text.end());
}

std::string FormatName(const PublisherTable& table, int slot, bool familyNameFirst) {
  if (!HasPublisher(table, slot)) return "";
  const PublisherRecord& record = table[slot];
  if (familyNameFirst) return record.familyName() + ", " + record.givenName();
  return record.givenName() + " " + record.familyName();
}

std::string FormatDate(const PublisherTable& table, int slot, WhichDate which, int dateFormat,
                       const std::string& languageCode) {
  if (!HasPublisher(table, slot)) return "";
  std::string text = SlashedDate(table[slot], DateField(which));
  TrimLeft(text);
  TrimRight(text);
  if (text.size() < kMinDateText) return "";

  switch (dateFormat) {
    case 0:
      return CodePageToUtf8(text);
    case 1:
      std::swap_ranges(text.begin(), text.begin() + 2, text.begin() + 3);
      return CodePageToUtf8(text);
    case 2:
      return MonthNameStyle(SplitDate(text), languageCode);
    default:
      return DayFirstStyle(SplitDate(text), languageCode);
  }
}

bool IsBaptized(const PublisherTable& table, int slot) {
  if (!HasPublisher(table, slot)) return false;
  const PublisherRecord::Field field = PublisherRecord::kDateImmersed;
  std::string date = table[slot].RawText(field).substr(0, kStoredDateChars);
  TrimLeft(date);
  TrimRight(date);
  return date.size() > 4;
}

}  // namespace velunorh
