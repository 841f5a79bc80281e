#include "app/string_table.h"

#include <gtest/gtest.h>

#include "app/text_number.h"

namespace velunorh {
namespace {

TEST(StringTable, ReadsTextsByNumberWithEscapes) {
  EXPECT_EQ(LoadString(133), "hun");
  EXPECT_EQ(LoadString(147), "Velunorh");
  EXPECT_EQ(LoadString(102), "Add meg a Jelszót");
  EXPECT_EQ(LoadString(116),
            "Ad meg a margó értékét számmal 2 tizedes pontossággal.\nPéldául:  1.00  1.25   0.88\n"
            "Maximális érték: 9.99");
}

TEST(StringTable, MissingIdReadsEmpty) {
  EXPECT_EQ(LoadString(99999), "");
  EXPECT_EQ(LoadString(-1), "");
}

TEST(StringTable, IntegerStrings) { EXPECT_EQ(LoadStringInt(146), 2); }

TEST(LeadingInteger, BehavesLikeAtoi) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"", 0},    {"abc", 0},   {"  42x", 42}, {"-1", -1},
               {"+7", 7},  {"257", 257}, {"\t-0", 0},   {"99999999999999", 2147483647},
               {"- 5", 0}, {"12 34", 12}};
  for (const auto& c : cases) EXPECT_EQ(LeadingInteger(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace velunorh
