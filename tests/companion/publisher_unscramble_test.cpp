#include <gtest/gtest.h>

#include <vector>

#include "companion/unscramble.h"

namespace velunorh {
namespace {

// Raw stored bytes against hand-computed decoded bytes: decoding subtracts i + 47 modulo 256.
TEST(UnscrambleRecord, DecodesEachFieldByPosition) {
  struct Case {
    const char* what;
    std::size_t offset;
    std::vector<std::uint8_t> stored;
    std::vector<std::uint8_t> decoded;
  } cases[] = {
      {"given name", 2, {'A' + 47, 'b' + 48}, {'A', 'b'}},
      {"wraps below zero", 2, {10, 1}, {10 + 256 - 47, 1 + 256 - 48}},
      {"204 kept in the given name", 2, {'x', 204, 'y'}, {'x' - 47, 204, 'y' - 49}},
      {"204 kept in the family name", 23, {204, 'q'}, {204, 'q' - 48}},
      {"204 shifted in the home telephone", 107, {204}, {204 - 47}},
      {"204 shifted in the date of birth", 161, {'1', 204}, {'1' - 47, 204 - 48}},
      {"length taken before decoding", 122, {47, 49, 51}, {0, 1, 2}},
      {"spare text starts its own count", 137, {'a' + 47}, {'a'}},
      {"date immersed", 152, {'0' + 47, '3' + 48}, {'0', '3'}},
  };
  for (const auto& c : cases) {
    PublisherRecord r;
    std::copy(c.stored.begin(), c.stored.end(), r.bytes.begin() + c.offset);
    UnscrambleRecord(-1, r);
    std::vector<std::uint8_t> got(r.bytes.begin() + c.offset,
                                  r.bytes.begin() + c.offset + c.decoded.size());
    EXPECT_EQ(got, c.decoded) << c.what;
    EXPECT_EQ(r.bytes[c.offset + c.stored.size()], 0) << c.what;
  }
}

TEST(UnscrambleRecord, AddressKeeps204OnlyInItsFirst30Characters) {
  PublisherRecord r;
  for (std::size_t i = 0; i < 62; ++i) r.bytes[44 + i] = 204;
  UnscrambleRecord(-1, r);
  for (std::size_t i = 0; i < 30; ++i) EXPECT_EQ(r.bytes[44 + i], 204) << i;
  for (std::size_t i = 30; i < 62; ++i) EXPECT_EQ(r.bytes[44 + i], 204 - 47 - i) << i;
}

TEST(UnscrambleRecord, ForcesNulsAndStaysInsideEachField) {
  PublisherRecord r;
  r.bytes.fill('x');
  UnscrambleRecord(-1, r);
  for (std::size_t at : {22, 43, 106, 121, 160, 169}) EXPECT_EQ(r.bytes[at], 0) << at;
  // Without a NUL of its own the mobile telephone is decoded over its 15 bytes and no further.
  EXPECT_EQ(r.bytes[122], 'x' - 47);
  EXPECT_EQ(r.bytes[136], 'x' - 47 - 14);
  EXPECT_EQ(r.bytes[137], 'x' - 47);  // spare text, position 0
  EXPECT_EQ(r.bytes[151], 'x' - 47 - 14);
  EXPECT_EQ(r.bytes[20], 'x' - 47 - 18);
  for (std::size_t at : {0, 1, 170, 180, 200, 312, 335}) EXPECT_EQ(r.bytes[at], 'x') << at;
}

TEST(UnscrambleRecord, PositiveFactorScrambles) {
  PublisherRecord plain;
  plain.SetRawText(PublisherRecord::kGivenName, "Zs\xCC");
  plain.SetRawText(PublisherRecord::kHomeAddress, "Fő utca 1.");
  plain.SetRawText(PublisherRecord::kDateOfBirth, "03151980");
  PublisherRecord r = plain;
  UnscrambleRecord(1, r);
  EXPECT_EQ(r.bytes[2], 'Z' + 47);
  EXPECT_EQ(r.bytes[4], 204);
  EXPECT_EQ(r.bytes[161], '0' + 47);
  UnscrambleRecord(-1, r);
  EXPECT_EQ(r.bytes, plain.bytes);
  // Any factor: three steps back after three forward.
  UnscrambleRecord(3, r);
  UnscrambleRecord(-3, r);
  EXPECT_EQ(r.bytes, plain.bytes);
}

TEST(UnscrambleTable, DecodesOnlyTheLoadedSlots) {
  PublisherTable table;
  table.slots.resize(PublisherTable::kSlots);
  for (auto& slot : table.slots) slot.bytes[2] = 'a' + 47;
  table.count = 2;
  UnscrambleTable(-1, table);
  EXPECT_EQ(table[0].bytes[2], 'a');
  EXPECT_EQ(table[1].bytes[2], 'a');
  EXPECT_EQ(table[2].bytes[2], 'a' + 47);
}

}  // namespace
}  // namespace velunorh
