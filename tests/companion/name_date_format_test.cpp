#include "companion/name_date_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

namespace velunorh {
namespace {

// Writes the whole field as given (embedded NULs and the field's last byte included) and
// zero-fills the rest, as a record straight from a file may hold it.
void StoreField(PublisherRecord& record, PublisherRecord::Field field, const std::string& bytes) {
  auto* begin = record.bytes.data() + field.offset;
  std::fill(begin, begin + field.width, std::uint8_t{0});
  std::copy_n(bytes.begin(), std::min(bytes.size(), field.width), begin);
}

// Slot 0 is the header record, slot 1 the one publisher; slot 2 exists but is not loaded.
PublisherTable OnePublisherTable() {
  PublisherTable table;
  table.slots.resize(3);
  table.count = 2;
  return table;
}

struct DateCase {
  const char* label;
  std::string stored;  // the 9 bytes of the date field
  int dateFormat;
  const char* language;
  const char* expected;
};

void PrintTo(const DateCase& c, std::ostream* os) {
  *os << c.label;
}

class FormatDateTest : public testing::TestWithParam<DateCase> {};

TEST_P(FormatDateTest, FormatsTheStoredDate) {
  const DateCase& c = GetParam();
  PublisherTable table = OnePublisherTable();
  StoreField(table[1], PublisherRecord::kDateImmersed, c.stored);
  EXPECT_EQ(FormatDate(table, 1, WhichDate::kImmersed, c.dateFormat, c.language), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatDateTest,
    testing::Values(DateCase{"hun0", "01022002", 0, "hun", "01/02/2002"},
                    DateCase{"hun1", "01022002", 1, "hun", "02/01/2002"},
                    DateCase{"hun2", "01022002", 2, "hun", "2002. Jan. 02."},
                    DateCase{"hun3", "01022002", 3, "hun", "2002-01-02"},
                    DateCase{"higherStyleActsAs3", "01022002", 9, "hun", "2002-01-02"},
                    DateCase{"accentedMonthName", "04152010", 2, "hun", "2010. \u00c1pr. 15."},
                    DateCase{"generic2", "01022002", 2, "eng", "Jan 02, 2002"},
                    DateCase{"generic3", "01022002", 3, "eng", "02 Jan, 2002"},
                    DateCase{"cz2", "01022002", 2, "cz", "02/01/2002"},
                    DateCase{"cz3", "01022002", 3, "cz", "02 Jan, 2002"},
                    DateCase{"eightBlanks", "        ", 0, "hun", ""},
                    DateCase{"eightNuls", std::string(9, '\0'), 2, "hun", ""},
                    DateCase{"fiveChars", "01022", 0, "hun", ""},
                    DateCase{"fiveCharsThenBlanks", "01022   ", 0, "hun", ""},
                    DateCase{"sixDigits0", "010202", 0, "hun", "01/02/02"},
                    DateCase{"sixDigits1", "010202", 1, "hun", "02/01/02"},
                    DateCase{"sixDigitsShortYear2", "010202", 2, "hun", "02. Jan. 02."},
                    DateCase{"sixDigitsShortYear3", "010202", 3, "eng", "02 Jan, 02"},
                    DateCase{"ninthByteNeverRead", "010220029", 0, "hun", "01/02/2002"},
                    DateCase{"month00ShowsDigits", "00022002", 2, "hun", "2002. 00. 02."},
                    DateCase{"month13ShowsDigits", "13022002", 3, "eng", "02 13, 2002"},
                    DateCase{"lettersShowAsMonth", "ab022002", 2, "eng", "ab 02, 2002"},
                    // \341 (á in windows-1250) in the month is cut whole and comes out as UTF-8.
                    DateCase{"codePageMonth", "\3411022002", 2, "hun", "2002. \u00e11. 02."},
                    DateCase{"codePageSwap", "\3411022002", 1, "hun", "02/\u00e11/2002"}),
    [](const testing::TestParamInfo<DateCase>& info) { return std::string(info.param.label); });

TEST(FormatDate, ReadsTheChosenField) {
  PublisherTable table = OnePublisherTable();
  StoreField(table[1], PublisherRecord::kDateImmersed, "01022002");
  StoreField(table[1], PublisherRecord::kDateOfBirth, "12311950");
  EXPECT_EQ(FormatDate(table, 1, WhichDate::kBirth, 3, "hun"), "1950-12-31");
  EXPECT_EQ(FormatDate(table, 1, WhichDate::kImmersed, 3, "hun"), "2002-01-02");
}

TEST(FormatDate, NoPublisherGivesEmpty) {
  PublisherTable table = OnePublisherTable();
  for (int slot : {0, 2}) {
    StoreField(table[slot], PublisherRecord::kDateImmersed, "01022002");
    StoreField(table[slot], PublisherRecord::kDateOfBirth, "01022002");
  }
  for (int slot : {-1, 0, 2, 500}) {
    EXPECT_EQ(FormatDate(table, slot, WhichDate::kBirth, 0, "hun"), "") << slot;
    EXPECT_FALSE(IsBaptized(table, slot)) << slot;
  }
  EXPECT_EQ(FormatDate(PublisherTable{}, 1, WhichDate::kBirth, 0, "hun"), "");
}

TEST(IsBaptized, CountsCharactersAfterTrimming) {
  struct Case {
    std::string stored;
    bool baptized;
  } cases[] = {
      {"01022002", true},
      {"12345", true},
      {" abcde  ", true},
      {"1234", false},
      {"  1234  ", false},
      {"\t\t1234\r\n", false},
      {"        ", false},
      {"", false},
      {std::string(1, '\0') + "1022002", false},
      // Only the 8 stored characters count, never the field's last byte.
      {"    12345", false},
  };
  PublisherTable table = OnePublisherTable();
  for (const auto& c : cases) {
    StoreField(table[1], PublisherRecord::kDateImmersed, c.stored);
    EXPECT_EQ(IsBaptized(table, 1), c.baptized) << '"' << c.stored << '"';
  }
}

TEST(FormatName, BothOrdersUntrimmedWithSeparators) {
  struct Case {
    std::string given;  // windows-1250 (octal escapes)
    std::string family;
    const char* givenFirst;
    const char* familyFirst;
  } cases[] = {
      {"\326d\366n", "Sz\365ke", "\u00d6d\u00f6n Sz\u0151ke", "Sz\u0151ke, \u00d6d\u00f6n"},
      {"", "Kov\341cs", " Kov\u00e1cs", "Kov\u00e1cs, "},
      {"Anna ", " Kiss", "Anna   Kiss", " Kiss, Anna "},
      {"", "", " ", ", "},
  };
  PublisherTable table = OnePublisherTable();
  for (const auto& c : cases) {
    table[1].SetRawText(PublisherRecord::kGivenName, c.given);
    table[1].SetRawText(PublisherRecord::kFamilyName, c.family);
    EXPECT_EQ(FormatName(table, 1, false), c.givenFirst);
    EXPECT_EQ(FormatName(table, 1, true), c.familyFirst);
  }
}

TEST(FormatName, NoPublisherGivesEmpty) {
  PublisherTable table = OnePublisherTable();
  for (int slot : {0, 2}) {
    table[slot].SetRawText(PublisherRecord::kGivenName, "Anna");
    table[slot].SetRawText(PublisherRecord::kFamilyName, "Kiss");
  }
  for (int slot : {-1, 0, 2, 500}) {
    EXPECT_EQ(FormatName(table, slot, false), "") << slot;
    EXPECT_EQ(FormatName(table, slot, true), "") << slot;
  }
}

TEST(Trim, RemovesCWhiteSpaceOnlyOnItsSide) {
  struct Case {
    std::string text;
    const char* left;
    const char* right;
  } cases[] = {
      {" \t\n\v\f\rx y \r\n", "x y \r\n", " \t\n\v\f\rx y"},
      {"   ", "", ""},
      {"", "", ""},
      {"ab", "ab", "ab"},
      // A no-break space (0xA0 in windows-1250) is not white space in the C locale.
      {"\xa0 a \xa0", "\xa0 a \xa0", "\xa0 a \xa0"},
  };
  for (const auto& c : cases) {
    std::string left = c.text;
    TrimLeft(left);
    EXPECT_EQ(left, c.left);
    std::string right = c.text;
    TrimRight(right);
    EXPECT_EQ(right, c.right);
  }
}

}  // namespace
}  // namespace velunorh
