#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "companion/congregation_data.h"
#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh {
namespace {

using Bytes = std::vector<std::uint8_t>;
using tools::ExtensionEntry;

ExtensionEntry Entry(std::uint16_t index, std::uint16_t id, std::string fullName,
                     std::string text2 = "", std::string text3 = "") {
  return {index, id, std::move(fullName), std::move(text2), std::move(text3)};
}

class ExtensionFileTest : public ::testing::Test {
 protected:
  ExtensionFileTest() : data(DataPaths{dir.path()}) {
    data.current.slots.resize(PublisherTable::kSlots);
    data.current.count = 1;
  }

  // A publisher in the next slot; gives the slot.
  int AddPublisher(std::uint16_t id, std::uint16_t extensionIndex) {
    PublisherRecord& p = data.current[data.current.count];
    p.SetWord(PublisherRecord::kPublisherId, id);
    p.SetWord(PublisherRecord::kExtensionIndex, extensionIndex);
    return data.current.count++;
  }

  // The records, then `extraBytes` of a partial record.
  void WriteExtensionFile(const std::vector<ExtensionEntry>& entries, std::size_t extraBytes = 0) {
    Bytes file = tools::ExtensionFileBytes(entries);
    file.insert(file.end(), extraBytes, 0x41);
    tools::WriteBytesFile(dir / "xten7.dat", file);
    data.CountExtensions();
  }

  std::uint16_t ExtensionIndexOf(int slot) const { return data.current[slot].extensionIndex(); }

  test::TempDir dir;
  CongregationData data;
};

TEST_F(ExtensionFileTest, CountsWholeRecordsUpTo601) {
  struct Case {
    std::size_t bytes;
    int count;
  } cases[] = {
      {0, 0},
      {ExtensionRecord::kSize - 1, 0},
      {ExtensionRecord::kSize, 1},
      {3 * ExtensionRecord::kSize, 3},
      {3 * ExtensionRecord::kSize + 100, 3},
      {601 * ExtensionRecord::kSize, 601},
      {602 * ExtensionRecord::kSize, 601},
      {700 * ExtensionRecord::kSize + 5, 601},
  };
  for (const Case& c : cases) {
    tools::WriteBytesFile(dir / "xten7.dat", Bytes(c.bytes, 0));
    data.CountExtensions();
    EXPECT_EQ(data.ExtensionCount(), c.count) << c.bytes << " bytes";
  }
}

TEST_F(ExtensionFileTest, MissingFileCountsNothing) {
  data.CountExtensions();
  EXPECT_EQ(data.ExtensionCount(), 0);
  int slot = AddPublisher(20, 1);
  EXPECT_EQ(data.LoadExtension(slot), 0);
  EXPECT_EQ(ExtensionIndexOf(slot), 0);
}

TEST_F(ExtensionFileTest, LoadsAndDecodesTheMatchingRecord) {
  WriteExtensionFile(
      {Entry(1, 30, "Kiss Anna"), Entry(2, 31, "Nagy Ödönné Szőke Éva", "Budapest", "harmadik")});
  int slot = AddPublisher(31, 2);

  EXPECT_EQ(data.LoadExtension(slot), 3);
  const ExtensionRecord& buffer = data.extensionBuffer();
  EXPECT_EQ(buffer.fullName(), "Nagy Ödönné Szőke Éva");
  EXPECT_EQ(buffer.RawText(ExtensionRecord::kExtensionText2), "Budapest");
  EXPECT_EQ(buffer.RawText(ExtensionRecord::kExtensionText3), "harmadik");
  EXPECT_EQ(buffer.extensionId(), 31);
  EXPECT_EQ(ExtensionIndexOf(slot), 2);
}

TEST_F(ExtensionFileTest, LetterBitsFollowTheCLocale) {
  struct Case {
    std::string fullName;
    std::string text2;
    int bits;
  } cases[] = {
      {"Kiss Anna", "", 1},
      {"", "b", 2},  // an empty full name is no full name
      {"Kiss Anna", "x", 3},
      {"12. 3", "45", 0},
      {"", "", 0},
      // Accented letters are not letters to the C runtime's default locale.
      {"ÁÉŐ", "ő", 0},
  };
  for (const Case& c : cases) {
    WriteExtensionFile({Entry(1, 40, c.fullName, c.text2)});
    int slot = AddPublisher(40, 1);
    EXPECT_EQ(data.LoadExtension(slot), c.bits) << c.fullName << " / " << c.text2;
    EXPECT_EQ(data.extensionBuffer().fullName(), c.fullName);
  }
}

TEST_F(ExtensionFileTest, UnusableRecordsClearTheIndex) {
  struct Case {
    const char* what;
    std::uint16_t id;
    std::uint16_t index;
  } cases[] = {
      {"index equal to the count", 50, 3},
      {"index past the count", 50, 900},
      {"record of another publisher", 51, 1},
  };
  for (const Case& c : cases) {
    WriteExtensionFile({Entry(1, 50, "Kiss Anna"), Entry(2, 52, "Nagy Béla")});  // count 3
    int slot = AddPublisher(c.id, c.index);
    EXPECT_EQ(data.LoadExtension(slot), 0) << c.what;
    EXPECT_EQ(ExtensionIndexOf(slot), 0) << c.what;
    EXPECT_EQ(data.extensionBuffer().bytes, ExtensionRecord{}.bytes) << c.what;
  }
}

TEST_F(ExtensionFileTest, AClearedIndexIsNotLookedUpAgain) {
  WriteExtensionFile({Entry(1, 60, "Kiss Anna")});
  int slot = AddPublisher(61, 1);
  EXPECT_EQ(data.LoadExtension(slot), 0);

  // Even once the file holds the publisher's record, the cleared index keeps it out.
  WriteExtensionFile({Entry(1, 61, "Kiss Anna")});
  EXPECT_EQ(data.LoadExtension(slot), 0);
}

TEST_F(ExtensionFileTest, RecordsPast600AreNeverRead) {
  std::vector<ExtensionEntry> records;
  for (int i = 1; i < 650; ++i)
    records.push_back(Entry(std::uint16_t(i), std::uint16_t(100 + i), "Név"));
  WriteExtensionFile(records);
  ASSERT_EQ(data.ExtensionCount(), 601);

  int last = AddPublisher(100 + 600, 600);
  int beyond = AddPublisher(100 + 601, 601);
  EXPECT_EQ(data.LoadExtension(last), 1);
  EXPECT_EQ(data.LoadExtension(beyond), 0);
  EXPECT_EQ(ExtensionIndexOf(beyond), 0);
}

TEST_F(ExtensionFileTest, AFailedLookupLeavesNoNameOfTheOneBefore) {
  WriteExtensionFile({Entry(1, 70, "Kiss Anna")});
  int withName = AddPublisher(70, 1);
  int without = AddPublisher(71, 0);
  ASSERT_EQ(data.LoadExtension(withName), 1);

  EXPECT_EQ(data.LoadExtension(without), 0);
  EXPECT_EQ(data.extensionBuffer().fullName(), "");
}

TEST_F(ExtensionFileTest, PartialLastRecordIsNotARecord) {
  WriteExtensionFile({Entry(1, 80, "Kiss Anna")}, ExtensionRecord::kSize - 1);
  EXPECT_EQ(data.ExtensionCount(), 2);
  int slot = AddPublisher(80, 2);
  EXPECT_EQ(data.LoadExtension(slot), 0);
}

TEST_F(ExtensionFileTest, DecodingStaysInsideEachField) {
  Bytes record(ExtensionRecord::kSize, 0);
  record[0] = 90;
  // A full name that fills its whole field: its last byte becomes the NUL.
  for (std::size_t i = 0; i < 65; ++i)
    record[2 + i] = static_cast<unsigned char>('a' + i % 26 + i + 47);
  // Text 2: the second byte decodes to NUL, which ends the text; what follows is left as stored.
  record[67] = 'x' + 47;
  record[68] = 48;
  record[69] = 0x77;
  // Text 3 with no NUL up to the record's end.
  for (std::size_t i = 118; i < ExtensionRecord::kSize; ++i) record[i] = 0xFF;
  // Record 0 is unused; the record under test is record 1.
  Bytes file(2 * ExtensionRecord::kSize, 0);
  std::copy(record.begin(), record.end(), file.begin() + ExtensionRecord::kSize);
  tools::WriteBytesFile(dir / "xten7.dat", file);
  data.CountExtensions();
  int slot = AddPublisher(90, 1);

  EXPECT_EQ(data.LoadExtension(slot), 3);
  const ExtensionRecord& buffer = data.extensionBuffer();
  std::string expected;
  for (std::size_t i = 0; i < 64; ++i) expected += char('a' + i % 26);
  EXPECT_EQ(buffer.fullName(), expected);
  EXPECT_EQ(buffer.bytes[66], 0);
  EXPECT_EQ(buffer.RawText(ExtensionRecord::kExtensionText2), "x");
  EXPECT_EQ(buffer.bytes[69], 0x77);
  EXPECT_EQ(buffer.RawText(ExtensionRecord::kExtensionText3).size(), 71u);
  EXPECT_EQ(buffer.bytes[189], 0);
  EXPECT_EQ(buffer.bytes[190], 0xFF);
}

}  // namespace
}  // namespace velunorh
