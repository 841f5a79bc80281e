#include "session/type_ahead.h"

#include <gtest/gtest.h>

namespace velunorh {
namespace {

const std::vector<std::string> kLines = {"Adam", "Bakos", "Baranyi", "Csonka"};

TEST(TypeAhead, PrefixGrowsAndRestartsOnAMiss) {
  TypeAhead search;
  struct Step {
    char32_t c;
    std::optional<int> selected;
    const char* prefix;
  } steps[] = {{'b', 1, "b"}, {'a', 1, "ba"},          {'r', 2, "bar"},
               {'c', 3, "c"}, {'x', std::nullopt, ""}, {'A', 0, "A"}};
  for (const auto& s : steps) {
    EXPECT_EQ(search.Type(s.c, kLines), s.selected) << char(s.c);
    EXPECT_EQ(search.prefix(), s.prefix) << char(s.c);
  }
}

TEST(TypeAhead, NonLettersChangeNothing) {
  TypeAhead search;
  search.Type('b', kLines);
  for (char32_t c : {U'1', U' ', U'.', U'\u00e1'}) {
    EXPECT_EQ(search.Type(c, kLines), std::nullopt);
    EXPECT_EQ(search.prefix(), "b");
  }
}

TEST(TypeAhead, PrefixIsEmptiedPastThirtyLetters) {
  std::vector<std::string> lines = {std::string(40, 'a')};
  TypeAhead search;
  for (int i = 0; i < 30; ++i) search.Type('a', lines);
  EXPECT_EQ(search.prefix().size(), 30u);
  EXPECT_EQ(search.Type('a', lines), 0);  // the 31st letter still matches, then the prefix goes
  EXPECT_EQ(search.prefix(), "");
  EXPECT_EQ(search.Type('a', lines), 0);
  EXPECT_EQ(search.prefix(), "a");
}

TEST(TypeAhead, ResetStartsANewPrefix) {
  TypeAhead search;
  search.Type('b', kLines);
  search.Reset();
  EXPECT_EQ(search.Type('c', kLines), 3);
  EXPECT_EQ(search.prefix(), "c");
}

}  // namespace
}  // namespace velunorh
