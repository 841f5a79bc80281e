#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "companion/congregation_data.h"
#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh {
namespace {

using Bytes = std::vector<std::uint8_t>;
using tools::Remark;

constexpr int kMarch = 2;  // calendar month index; stored as 3

class RemarkFileTest : public ::testing::Test {
 protected:
  RemarkFileTest() : data(DataPaths{dir.path()}) {
    for (PublisherTable* table : {&data.current, &data.previous}) {
      table->slots.resize(PublisherTable::kSlots);
      table->count = 1;
    }
  }

  // A publisher in the next current slot; gives the slot.
  int AddPublisher(std::uint16_t id) {
    data.current[data.current.count].SetWord(PublisherRecord::kPublisherId, id);
    return data.current.count++;
  }

  void WriteRemarks(const std::vector<Remark>& remarks, std::size_t extraBytes = 0) {
    Bytes file = tools::RemarkFileBytes(remarks);
    file.insert(file.end(), extraBytes, 0x41);
    tools::WriteBytesFile(dir / "remark7.dat", file);
  }

  void WritePreviousYearRemarks(const std::vector<Remark>& remarks) {
    tools::WriteBytesFile(dir / "Roll" / "Ov7_8" / "remark7.dat", tools::RemarkFileBytes(remarks));
  }

  int SlotOf(int publisher, int month = kMarch) const {
    return data.current[publisher].remarkSlot(month);
  }

  std::string RemarkOf(int slot, int month = kMarch, bool fromPreviousYear = false) {
    std::string text = "untouched";
    if (!data.GetRemark(slot, month, fromPreviousYear, text)) return "(none: " + text + ")";
    return text;
  }

  test::TempDir dir;
  CongregationData data;
};

// A remark file can mean at most a remark for every 16-bit id in each month; a longer (damaged)
// file is read that far and no further, so a huge one cannot hold up the start.
TEST_F(RemarkFileTest, ReadsNoFurtherThanTheFormatCanMean) {
  constexpr std::uint64_t kMostRecords = 12 * 65536;
  const int anna = AddPublisher(20);
  const int bela = AddPublisher(21);
  const auto file = dir / "remark7.dat";
  { std::ofstream out(file, std::ios::binary); }
  // Sparse: the records between read as zeros, which name no month.
  std::filesystem::resize_file(file, (kMostRecords + 1) * RemarkRecord::kSize);
  std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
  for (const auto& [index, remark] : {std::pair{kMostRecords - 1, Remark{3, 20, "utolsó"}},
                                      std::pair{kMostRecords, Remark{3, 21, "túl messze"}}}) {
    const Bytes bytes = tools::RemarkFileBytes({remark});
    out.seekp(static_cast<std::streamoff>(index * RemarkRecord::kSize));
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  out.close();

  data.LoadMonthRemarks(kMarch);
  EXPECT_EQ(SlotOf(anna), 1);
  EXPECT_EQ(SlotOf(bela), 0);
}

TEST_F(RemarkFileTest, TakesTheMonthsRemarksInFileOrder) {
  int anna = AddPublisher(20);
  int bela = AddPublisher(21);
  int cili = AddPublisher(22);
  data.current[cili].SetRemarkSlot(kMarch, 7);  // as the publisher file brought it
  WriteRemarks({{4, 20, "Beteg volt"}, {3, 21, "Szabadságon"}, {3, 20, "Kórházban"}});

  data.LoadMonthRemarks(kMarch);

  const RemarkTable& table = data.currentRemarks(kMarch);
  EXPECT_EQ(table.count, 3);
  EXPECT_EQ(table.slots[0].bytes, RemarkRecord{}.bytes);
  EXPECT_EQ(table.slots[1].remarkText(), "Szabadságon");
  EXPECT_EQ(table.slots[2].remarkText(), "Kórházban");
  EXPECT_EQ(SlotOf(bela), 1);
  EXPECT_EQ(SlotOf(anna), 2);
  EXPECT_EQ(SlotOf(cili), 7);
  EXPECT_EQ(SlotOf(anna, 3), 0);  // April's table was not loaded
}

TEST_F(RemarkFileTest, SkipsRecordsOfOtherMonthsAndLowIds) {
  int ten = AddPublisher(10);
  int eleven = AddPublisher(11);
  struct Case {
    const char* what;
    Remark record;
    int publisher;
    int expectedSlot;
  } cases[] = {
      {"month 0", {0, 11, "x"}, eleven, 0},     {"month 13", {13, 11, "x"}, eleven, 0},
      {"month 255", {255, 11, "x"}, eleven, 0}, {"id 10", {3, 10, "x"}, ten, 0},
      {"id 11", {3, 11, "x"}, eleven, 1},
  };
  for (const Case& c : cases) {
    data.current[c.publisher].SetRemarkSlot(kMarch, 0);
    WriteRemarks({c.record});
    data.LoadMonthRemarks(kMarch);
    EXPECT_EQ(SlotOf(c.publisher), c.expectedSlot) << c.what;
    EXPECT_EQ(data.currentRemarks(kMarch).count, 1 + c.expectedSlot) << c.what;
  }
  // Months 13 and over never stand for a month index past December either.
  WriteRemarks({{13, 11, "x"}});
  data.LoadMonthRemarks(12);
  EXPECT_EQ(data.currentRemarks(12).count, 1);
}

TEST_F(RemarkFileTest, RemarkOfNobodyTakesNoSlot) {
  int bela = AddPublisher(21);
  WriteRemarks({{3, 99, "Elköltözött"}, {3, 21, "Szabadságon"}});

  data.LoadMonthRemarks(kMarch);

  EXPECT_EQ(data.currentRemarks(kMarch).count, 2);
  EXPECT_EQ(SlotOf(bela), 1);
  EXPECT_EQ(RemarkOf(bela), "Szabadságon");
}

TEST_F(RemarkFileTest, LastOfSeveralRemarksWins) {
  int anna = AddPublisher(20);
  WriteRemarks({{3, 20, "első"}, {3, 20, "második"}, {3, 20, "harmadik"}});

  data.LoadMonthRemarks(kMarch);

  EXPECT_EQ(SlotOf(anna), 3);
  EXPECT_EQ(RemarkOf(anna), "harmadik");
}

TEST_F(RemarkFileTest, StopsAtTheTablesCapacity) {
  std::vector<Remark> remarks;
  for (int i = 0; i < 300; ++i) {
    remarks.push_back({3, std::uint16_t(AddPublisher(100 + i) + 99), "r" + std::to_string(i)});
  }
  WriteRemarks(remarks);

  data.LoadMonthRemarks(kMarch);

  EXPECT_EQ(data.currentRemarks(kMarch).count, RemarkTable::kSlots);
  EXPECT_EQ(SlotOf(253), 253);
  EXPECT_EQ(RemarkOf(253), "r252");
  EXPECT_EQ(SlotOf(254), 0);
  EXPECT_EQ(RemarkOf(254), "(none: untouched)");
}

TEST_F(RemarkFileTest, PartialLastRecordIsIgnored) {
  int anna = AddPublisher(20);
  Bytes file = tools::RemarkFileBytes({{3, 20, "egész"}, {3, 20, "fél"}});
  file.pop_back();
  tools::WriteBytesFile(dir / "remark7.dat", file);

  data.LoadMonthRemarks(kMarch);

  EXPECT_EQ(data.currentRemarks(kMarch).count, 2);
  EXPECT_EQ(RemarkOf(anna), "egész");
}

TEST_F(RemarkFileTest, RemarkTextIsCutTo35Characters) {
  int anna = AddPublisher(20);
  const std::string text35(35, 'a');
  // No NUL in the text field nor in the byte after it.
  Bytes file = tools::RemarkFileBytes({{3, 20, text35}});
  file[35] = 'b';
  file[36] = 'c';
  tools::WriteBytesFile(dir / "remark7.dat", file);

  data.LoadMonthRemarks(kMarch);

  EXPECT_EQ(RemarkOf(anna), text35);
  EXPECT_EQ(data.currentRemarks(kMarch).slots[1].bytes[36], 0);
}

TEST_F(RemarkFileTest, GetRemarkGivesNothingWithoutARemark) {
  int anna = AddPublisher(20);
  int bela = AddPublisher(21);
  WriteRemarks({{3, 21, "Szabadságon"}, {4, 20, "Áprilisi"}});
  data.LoadMonthRemarks(kMarch);

  EXPECT_EQ(RemarkOf(anna), "(none: untouched)");
  EXPECT_EQ(RemarkOf(bela, 13), "(none: untouched)");
  EXPECT_EQ(RemarkOf(0), "(none: untouched)");
  EXPECT_EQ(RemarkOf(data.current.count), "(none: untouched)");
}

TEST_F(RemarkFileTest, SlotNumbersPastTheMonthsRemarksGiveNothing) {
  int anna = AddPublisher(20);
  int bela = AddPublisher(21);
  WriteRemarks({{3, 21, "Szabadságon"}});
  for (int slot : {2, 200, 253, 254, 255}) {
    data.current[anna].SetRemarkSlot(kMarch, std::uint8_t(slot));  // as the file brought it
    data.LoadMonthRemarks(kMarch);
    EXPECT_EQ(RemarkOf(anna), "(none: )") << slot;
  }
  EXPECT_EQ(RemarkOf(bela), "Szabadságon");
}

TEST_F(RemarkFileTest, MissingFileGivesNoRemarks) {
  int anna = AddPublisher(20);
  data.current[anna].SetRemarkSlot(kMarch, 1);

  data.LoadMonthRemarks(kMarch);

  EXPECT_EQ(data.currentRemarks(kMarch).count, 1);
  EXPECT_EQ(SlotOf(anna), 1);
  EXPECT_EQ(RemarkOf(anna), "(none: )");
}

TEST_F(RemarkFileTest, PreviousYearRemarksLandAtTheSameSlotIndex) {
  AddPublisher(20);
  int bela = AddPublisher(21);
  data.previous.count = 3;
  WriteRemarks({{3, 21, "idei"}});
  WritePreviousYearRemarks({{3, 21, "tavalyi"}});

  data.LoadMonthRemarks(kMarch);
  data.LoadPreviousYearMonthRemarks(kMarch);

  EXPECT_EQ(data.previousRemarks(kMarch).count, 2);
  EXPECT_EQ(data.previous[bela].remarkSlot(kMarch), 1);
  EXPECT_EQ(RemarkOf(bela, kMarch, false), "idei");
  EXPECT_EQ(RemarkOf(bela, kMarch, true), "tavalyi");
}

TEST_F(RemarkFileTest, PreviousYearSlotsPastItsRecordsHoldOnlyThisLoadsNumbers) {
  for (int i = 0; i < 5; ++i) AddPublisher(std::uint16_t(20 + i));
  int late = AddPublisher(30);
  int other = AddPublisher(31);
  data.previous.count = 2;
  // Left from an earlier load.
  data.previous[other].SetRemarkSlot(kMarch, 1);
  WritePreviousYearRemarks({{3, 30, "tavalyi"}});

  data.LoadPreviousYearMonthRemarks(kMarch);

  EXPECT_EQ(RemarkOf(late, kMarch, true), "tavalyi");
  EXPECT_EQ(RemarkOf(other, kMarch, true), "(none: untouched)");
}

TEST_F(RemarkFileTest, NoPreviousYearNoPreviousRemarks) {
  int anna = AddPublisher(20);
  WritePreviousYearRemarks({{3, 20, "tavalyi"}});
  data.previous.count = 0;
  data.previous[anna].SetRemarkSlot(kMarch, 1);
  EXPECT_EQ(RemarkOf(anna, kMarch, true), "(none: untouched)");

  data.previous.slots.clear();
  data.previous.count = 3;
  data.LoadPreviousYearMonthRemarks(kMarch);
  EXPECT_EQ(data.previousRemarks(kMarch).count, 1);
  EXPECT_EQ(RemarkOf(anna, kMarch, true), "(none: untouched)");
}

// The whole path from the companion program's files: the previous year's remark is found at the
// publisher's current slot index, whatever the order of the previous-year file.
TEST(RemarksAfterLoad, EachYearsRemarkReachesThePublisher) {
  test::TempDir dir;
  tools::Congregation congregation;
  tools::Publisher anna;
  anna.givenName = "Anna";
  anna.familyName = "Kiss";
  anna.id = 20;
  anna.extensionIndex = 1;
  tools::Publisher bela;
  bela.givenName = "Béla";
  bela.familyName = "Nagy";
  bela.id = 21;
  congregation.current.publishers = {anna, bela};
  congregation.extensions = {{1, 20, "Kiss Anna Mária", "", ""}};
  congregation.remarks = {{3, 21, "idei"}};
  congregation.previous = tools::PublisherFile{};
  for (int i = 0; i < 3; ++i) {
    tools::Publisher other;
    other.givenName = "Más";
    other.id = std::uint16_t(30 + i);
    congregation.previous->publishers.push_back(other);
  }
  congregation.previous->publishers.push_back(anna);
  congregation.previousRemarks = {{3, 20, "tavalyi"}, {4, 21, "áprilisi"}};
  tools::WriteCongregation(congregation, dir.path());

  CongregationData data(DataPaths{dir.path()});
  ASSERT_TRUE(data.AllocateTables());
  bool stop = false;
  data.LoadAllData(stop);
  ASSERT_EQ(data.current.count, 3);
  const int annaSlot = 1, belaSlot = 2;

  std::string text;
  EXPECT_TRUE(data.GetRemark(belaSlot, kMarch, false, text));
  EXPECT_EQ(text, "idei");
  EXPECT_FALSE(data.GetRemark(annaSlot, kMarch, false, text));
  EXPECT_TRUE(data.GetRemark(annaSlot, kMarch, true, text));
  EXPECT_EQ(text, "tavalyi");
  EXPECT_TRUE(data.GetRemark(belaSlot, kMarch + 1, true, text));
  EXPECT_EQ(text, "áprilisi");
  EXPECT_EQ(data.LoadExtension(annaSlot), 1);
  EXPECT_EQ(data.extensionBuffer().fullName(), "Kiss Anna Mária");
}

// The companion program may change a remark file while the program runs: the next lookup batch
// reads it again, and a publisher whose remark went keeps no number pointing at another's.
TEST(RemarksAfterLoad, AChangedRemarkFileIsReadAgainAtTheNextBatch) {
  test::TempDir dir;
  tools::Congregation congregation;
  for (std::uint16_t id : {20, 21}) {
    tools::Publisher publisher;
    publisher.givenName = "P" + std::to_string(id);
    publisher.id = id;
    congregation.current.publishers.push_back(publisher);
  }
  congregation.remarks = {{3, 20, "Annáé"}, {3, 21, "Béláé"}};
  congregation.previous = congregation.current;
  congregation.previousRemarks = {{3, 21, "tavalyi"}};
  tools::WriteCongregation(congregation, dir.path());
  const auto remarkFile = dir / "remark7.dat";
  const auto previousRemarkFile = dir / "Roll" / "Ov7_8" / "remark7.dat";

  CongregationData data(DataPaths{dir.path()});
  ASSERT_TRUE(data.AllocateTables());
  bool stop = false;
  data.LoadAllData(stop);
  const int anna = 1, bela = 2;
  const auto remarkOf = [&](int slot, bool fromPreviousYear = false) {
    std::string text;
    return data.GetRemark(slot, kMarch, fromPreviousYear, text) ? text : "(none)";
  };
  EXPECT_EQ(remarkOf(anna), "Annáé");
  data.RefreshRemarksIfChanged();  // nothing changed
  EXPECT_EQ(remarkOf(bela), "Béláé");

  // Anna's remark removed: Béla's moves to her old number.
  tools::WriteBytesFile(remarkFile, tools::RemarkFileBytes({{3, 21, "Béláé"}}));
  data.RefreshRemarksIfChanged();
  EXPECT_EQ(remarkOf(anna), "(none)");
  EXPECT_EQ(remarkOf(bela), "Béláé");

  // Edited in place: same size and inode, a later modification time.
  for (const auto& [file, remark] :
       {std::pair{remarkFile, Remark{3, 21, "javított"}},
        std::pair{previousRemarkFile, Remark{3, 21, "tavaly javított"}}}) {
    const auto modified = std::filesystem::last_write_time(file);
    tools::WriteBytesFile(file, tools::RemarkFileBytes({remark}));
    std::filesystem::last_write_time(file, modified + std::chrono::seconds(1));
  }
  data.RefreshRemarksIfChanged();
  EXPECT_EQ(remarkOf(bela), "javított");
  EXPECT_EQ(remarkOf(bela, true), "tavaly javított");
}

}  // namespace
}  // namespace velunorh
