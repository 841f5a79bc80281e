#include "base/string_table.h"

#include "base/string_table_by_number.h"

#include <gtest/gtest.h>

#include "base/text_number.h"

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

// Texts whose blanks, escapes, quotes or accents are easy to lose when the table is edited.
TEST(StringTable, KeepsBlanksEscapesAndAccents) {
  struct Case {
    int id;
    const char* text;
  } cases[] = {
      {101, "&Velunorhről..."},
      {107, "Születési Idö"},
      {109, "Felkent vagy \"más juh\"?"},
      {111, "[   ] általános úttörő"},
      {131,
       "A kiválasztott adat forrás már tartalmaz hírnökadatot.\n\nVálassz OK új adat forrás "
       "használatára.\n\nVálasz Befejezés a használt információ megtartására."},
      {140, "Kereszteltlen Hírnőkök"},
      {142, ".5"},
      {400, "S-21-H   10/15   Printed in Germany"},
      {401, "S-21-H  Hu  4/05  Printed in Germany"},
      {402, " "},
      {1205, "Márc"},
      {1211, "Szept"},
      {1215, "Y"},
      {1216, " "},
      {1421, "Videólejátszások"},
      {1422, "A kártya elrendezése nem menthető ide: %1\n%2"},
      {1424, "Mégse"},
      {1429, "Couldn't allocate memory"},
  };
  for (const auto& c : cases) EXPECT_EQ(LoadString(c.id), c.text) << c.id;
}

TEST(StringTable, MissingIdReadsEmpty) {
  EXPECT_EQ(LoadString(99999), "");
  EXPECT_EQ(LoadString(-1), "");
}

TEST(StringTable, IntegerStrings) {
  EXPECT_EQ(LoadStringInt(146), 2);
  EXPECT_EQ(LoadStringInt(StringId::CardVersionCount), 2);
}

TEST(StringTable, NamesReadTheirEntries) {
  EXPECT_EQ(LoadString(StringId::ProgramName), "Velunorh");
  EXPECT_EQ(LoadString(StringId::NoPrinter), "No Printer");
  EXPECT_EQ(LoadString(StringId::CardVersion1Name), "S-21-H  Hu  4/05  Printed in Germany");
}

// A run ends where it ends: the entry after the four group captions is a quarter-hour text.
TEST(StringTable, RunsReadOnlyTheirOwnEntries) {
  struct Case {
    int offset;
    const char* text;
  } cases[] = {{0, "Összes Hírnőkök"}, {3, "Kereszteltlen Hírnőkök"}, {4, ""}, {-1, ""}};
  for (const auto& c : cases)
    EXPECT_EQ(LoadStringOfRun(StringId::GroupAllPublishers, 4, c.offset), c.text) << c.offset;
}

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
