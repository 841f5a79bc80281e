#include "tools/congregation_description.h"

#include <gtest/gtest.h>

#include <sstream>

#include "companion/congregation_data.h"
#include "companion/month_values.h"
#include "test_support.h"

namespace velunorh::tools {
namespace {

Congregation Parse(const std::string& text) {
  std::istringstream in(text);
  return ParseCongregation(in, "t.txt");
}

TEST(CongregationDescription, ReadsSectionsPublishersAndTheirFiles) {
  const auto c = Parse(R"(# a comment
[current]
password titok
plain
year-marks 1 2 3 4 5 6 7 8 9 10 11 12

publisher
given Ágota
family Kis
id 15
sex female
anointed
appointment servant
pioneer regular
address Fő utca 1.
home-phone 76/123456
mobile 06-30-1234567
spare x
born 03151980
immersed 06201998
link 4
full-name Kisné Nagy Ágota Mária Terézia
extension-text2 második
month 9 new hours=10 quarters=2 placements=3 videos=1 returnvisits=4 studies=1
month 10 old hours=5 books=1 brochures=2 magazines=3 subscriptions=1 returnvisits=6 studies=2 pioneer=auxiliary
remark 9 Kisegítő úttörő
remark-slot 2 7

publisher
given Béla
extension-index 9

publisher
given Cili
id 17
full-name Cili Teljes Neve

[previous]
year-marks 25 25 25 25 25 25 25 25 25 25 25 25
publisher
given Ágota
id 15
remark 1 Tavaly
)");
  EXPECT_EQ(c.current.password, "titok");
  EXPECT_FALSE(c.current.scrambled);
  EXPECT_EQ(c.current.yearMarks[11], 12);
  ASSERT_EQ(c.current.publishers.size(), 3u);
  const Publisher& p = c.current.publishers[0];
  EXPECT_EQ(p.givenName, "Ágota");
  EXPECT_EQ(p.familyName, "Kis");
  EXPECT_EQ(p.id, 15);
  EXPECT_EQ(p.sex, Sex::kFemale);
  EXPECT_TRUE(p.anointed);
  EXPECT_EQ(p.appointment, Appointment::kMinisterialServant);
  EXPECT_EQ(p.homeAddress, "Fő utca 1.");
  EXPECT_EQ(p.homeTelephone, "76/123456");
  EXPECT_EQ(p.mobileTelephone, "06-30-1234567");
  EXPECT_EQ(p.spareText, "x");
  EXPECT_EQ(p.dateOfBirth, "03151980");
  EXPECT_EQ(p.dateImmersed, "06201998");
  EXPECT_EQ(p.previousYearLink, 4);
  EXPECT_EQ(p.extensionIndex, 1);
  EXPECT_EQ(p.remarkSlot[1], 7);
  EXPECT_TRUE(p.months[8].newForm);
  EXPECT_EQ(p.months[8].quarters, 2);
  EXPECT_EQ(p.months[8].videoShowings, 1);
  EXPECT_EQ(p.months[8].pioneer, Pioneer::kRegular);
  EXPECT_FALSE(p.months[9].newForm);
  EXPECT_EQ(p.months[9].magazines, 3);
  EXPECT_EQ(p.months[9].pioneer, Pioneer::kAuxiliary);
  EXPECT_EQ(p.months[0].pioneer, Pioneer::kRegular);

  EXPECT_EQ(c.current.publishers[1].extensionIndex, 9);
  EXPECT_EQ(c.current.publishers[2].extensionIndex, 2);
  ASSERT_EQ(c.extensions.size(), 2u);
  EXPECT_EQ(c.extensions[0].fullName, "Kisné Nagy Ágota Mária Terézia");
  EXPECT_EQ(c.extensions[0].text2, "második");
  EXPECT_EQ(c.extensions[0].id, 15);
  EXPECT_EQ(c.extensions[1].index, 2);
  EXPECT_EQ(c.extensions[1].id, 17);

  ASSERT_EQ(c.remarks.size(), 1u);
  EXPECT_EQ(c.remarks[0].month, 9);
  EXPECT_EQ(c.remarks[0].publisherId, 15);
  EXPECT_EQ(c.remarks[0].text, "Kisegítő úttörő");
  ASSERT_TRUE(c.previous);
  EXPECT_TRUE(c.previous->scrambled);
  EXPECT_EQ(c.previous->password, " ");
  EXPECT_EQ(c.previous->yearMarks[0], 25);
  ASSERT_EQ(c.previousRemarks.size(), 1u);
  EXPECT_EQ(c.previousRemarks[0].text, "Tavaly");
}

TEST(CongregationDescription, RefusesWithTheLineAtFault) {
  struct Case {
    std::string text;
    const char* mustSay;
  } cases[] = {
      {"publisher\n", "t.txt:1:"},
      {"[current]\nfoo 1\n", "t.txt:2: unknown file setting"},
      {"[current]\npublisher\nnickname x\n", "t.txt:3: unknown publisher line"},
      {"[current]\npublisher\nid 12a\n", "t.txt:3: id must be a number"},
      {"[current]\npublisher\nid 70000\n", "t.txt:3: id 70000 is outside"},
      {"[current]\npublisher\nmonth 13 old hours=1\n", "t.txt:3: the month"},
      {"[current]\npublisher\nmonth 1 hours=1\n", "t.txt:3: month needs"},
      {"[current]\npublisher\nmonth 1 new hours\n", "is not key=value"},
      {"[current]\npublisher\nmonth 1 new speed=3\n", "unknown month value"},
      {"[current]\npublisher\nmonth 1 new hours=300\n", "t.txt:2: publisher"},
      {"[current]\n\npublisher\ngiven Huszonegy Karakteres Név\n", "t.txt:3: publisher"},
      {"[current]\npublisher\nid 10\nremark 1 x\n", "id of 11 or more"},
      {"[previous]\npublisher\nfull-name X\n", "belongs to [current]"},
      {"[current]\nyear-marks 1 2\n", "twelve numbers"},
      {"[current]\npublisher\npioneer sometimes\n", "pioneer is"},
      {"[current]\npublisher\nid 20\nremark 2 " + std::string(36, 'x') + "\n", "remarkText"},
  };
  for (const auto& c : cases) {
    try {
      Parse(c.text);
      ADD_FAILURE() << c.text << ": not refused";
    } catch (const WriterError& e) {
      EXPECT_NE(std::string(e.what()).find(c.mustSay), std::string::npos)
          << c.text << " -> " << e.what();
    }
  }
}

// The demo congregation must load as a December 2026 run expects it.
TEST(DemoCongregation, LoadsWithEveryGroupAndBothYears) {
  const auto file = std::filesystem::path(VELUNORH_SOURCE_DIR) / "tools" / "demo_congregation.txt";
  test::TempDir dir;
  WriteCongregation(ReadCongregationFile(file), dir.path());
  CongregationData data{DataPaths{dir.path()}};
  ASSERT_TRUE(data.AllocateTables());
  bool stop = false;
  data.LoadAllData(stop,
                   [](const PublisherRecord& header) { return header.accessPassword() == " "; });
  ASSERT_FALSE(stop);
  EXPECT_FALSE(data.current[0].IsPlainText());
  EXPECT_GE(data.current.count, 36);
  EXPECT_GE(data.previous.count, 30);

  const int november = 10;
  int regular = 0, baptized = 0, unbaptized = 0, elders = 0, servants = 0, male = 0, female = 0,
      anointed = 0, linked = 0, unlinked = 0, oldForm = 0, newForm = 0, quarters = 0, auxiliary = 0;
  for (int slot = 1; slot < data.current.count; ++slot) {
    const PublisherRecord& r = data.current[slot];
    EXPECT_FALSE(r.givenName().empty());
    EXPECT_GE(r.publisherId(), 11);
    const bool isBaptized = r.Text(PublisherRecord::kDateImmersed).size() == 8;
    if (r.PioneerStatus(november) == Pioneer::kRegular) {
      ++regular;
    } else if (isBaptized) {
      ++baptized;
    }
    unbaptized += !isBaptized;
    elders += r.Appointment() == Appointment::kElder;
    servants += r.Appointment() == Appointment::kMinisterialServant;
    male += r.IsMale();
    female += r.IsFemale();
    anointed += r.anointedMark() == 'A';
    (r.previousYearLink() ? linked : unlinked)++;
    for (int m = 0; m < 12; ++m) {
      auxiliary += r.PioneerStatus(m) == Pioneer::kAuxiliary;
      quarters += r.MonthByte(PublisherRecord::kHourQuarters, m) != 0;
      if (r.MonthByte(PublisherRecord::kMonthArrayC, m) == 0) continue;
      ((r.newFormMonths() >> m) & 1 ? newForm : oldForm)++;
    }
  }
  for (int count : {regular, baptized, unbaptized, elders, servants, male, female, anointed, linked,
                    unlinked, oldForm, newForm, quarters, auxiliary}) {
    EXPECT_GT(count, 0);
  }
  EXPECT_GT(linked, unlinked);

  // Previous-year months usable in December 2026 and January 2027, by row and by month.
  for (ServiceYear year : {ServiceYear{10, 2026, true}, ServiceYear{11, 2027, true}}) {
    for (int k = 0; k < 12; ++k) EXPECT_TRUE(PreviousYearMonthUsable(data, year, k)) << k;
  }

  int longNames = 0;
  for (int slot = 1; slot < data.current.count; ++slot) {
    const int index = data.current[slot].extensionIndex();
    if (index == 0) continue;
    const auto bytes = test::ReadBytes(dir / "xten7.dat");
    ASSERT_LE((index + 1) * 192u, bytes.size());
    std::size_t length = 0;
    while (bytes[index * 192 + 2 + length] != 0) ++length;
    longNames += length > 20;
  }
  EXPECT_GE(longNames, 3);
  EXPECT_GT(test::ReadBytes(dir / "remark7.dat").size(), 0u);
  EXPECT_GT(test::ReadBytes(dir / "Roll/Ov7_8/remark7.dat").size(), 0u);
}

}  // namespace
}  // namespace velunorh::tools
