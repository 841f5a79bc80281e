#include "tools/companion_writer.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace velunorh::tools {
namespace {

using R = PublisherRecord;

// The stored bytes are checked against hand-computed values, not against the reader, so a
// fault shared by both sides cannot hide.
TEST(CompanionWriter, ScramblesTextsByPosition) {
  Publisher p;
  p.givenName = "Ab";
  p.homeTelephone = "1";
  auto r = EncodePublisherRecord(p, true);
  EXPECT_EQ(r.bytes[2], 'A' + 47);
  EXPECT_EQ(r.bytes[3], 'b' + 48);
  EXPECT_EQ(r.bytes[4], 0);
  EXPECT_EQ(r.bytes[107], '1' + 47);

  auto plain = EncodePublisherRecord(p, false);
  EXPECT_EQ(plain.bytes[2], 'A');
  EXPECT_EQ(plain.bytes[3], 'b');
}

TEST(CompanionWriter, StoresTextsInTheCodePage) {
  Publisher p;
  p.familyName = "Ő";  // windows-1250 0xD5
  EXPECT_EQ(EncodePublisherRecord(p, false).bytes[23], 0xD5);
  EXPECT_EQ(EncodePublisherRecord(p, true).bytes[23], (0xD5 + 47) & 0xFF);
}

TEST(CompanionWriter, KeepsA204WhereTheReaderKeepsIt) {
  Publisher p;
  p.givenName = "Ě";  // 204 in windows-1250
  p.homeAddress = std::string(30, 'a') + "Ě";
  auto r = EncodePublisherRecord(p, true);
  EXPECT_EQ(r.bytes[2], 204);
  EXPECT_EQ(r.bytes[44 + 30], (204 + 30 + 47) & 0xFF);
}

TEST(CompanionWriter, HeaderRecord) {
  PublisherFile plain;
  plain.scrambled = false;
  plain.yearMarks[0] = 25;
  plain.yearMarks[11] = 26;
  auto h = EncodeHeaderRecord(plain);
  EXPECT_EQ(h.bytes[2], ' ');
  EXPECT_EQ(h.bytes[3], 0);
  EXPECT_EQ(h.bytes[23], 'A');
  EXPECT_EQ(h.bytes[24], 0);
  EXPECT_EQ(h.bytes[312], 25);
  EXPECT_EQ(h.bytes[323], 26);

  PublisherFile scrambled;
  scrambled.password = "ab";
  auto s = EncodeHeaderRecord(scrambled);
  EXPECT_EQ(s.bytes[2], 'a' + 47);
  EXPECT_EQ(s.bytes[3], 'b' + 48);
  EXPECT_NE(s.bytes[23], 'A');
}

TEST(CompanionWriter, PacksOldFormMonths) {
  Publisher p;
  MonthReport& v = p.months[9];
  v.books = 7;
  v.brochures = 0x312;
  v.hours = 200;
  v.subscriptions = 5;
  v.magazines = 0xA34;  // bits 8-9 = 2, bits 10-11 = 2
  v.returnVisits = 0x2F1;
  v.bibleStudies = 9;
  v.quarters = 3;
  v.pioneer = Pioneer::kRegular;
  auto r = EncodePublisherRecord(p, true);
  const int m = 9;
  EXPECT_EQ(r.bytes[216 + m], 7);
  EXPECT_EQ(r.bytes[228 + m], 0x12);
  EXPECT_EQ(r.bytes[202 + m], (0x3 << 4) | (2 << 2) | 2);
  EXPECT_EQ(r.bytes[240 + m], 200);
  EXPECT_EQ(r.bytes[252 + m], 5 | (2 << 6));
  EXPECT_EQ(r.bytes[264 + m], 0x34);
  EXPECT_EQ(r.bytes[276 + m], 0xF1);
  EXPECT_EQ(r.bytes[288 + m], 9 | (2 << 6));
  EXPECT_EQ(r.bytes[300 + m], 3);
  EXPECT_EQ(r.Word(196), 0);
}

TEST(CompanionWriter, PacksNewFormMonths) {
  Publisher p;
  MonthReport& v = p.months[0];
  v.newForm = true;
  v.placements = 0x5AB;
  v.videoShowings = 0x3CD;
  v.hours = 12;
  v.returnVisits = 0x1EF;
  v.bibleStudies = 63;
  v.pioneer = Pioneer::kAuxiliary;
  auto r = EncodePublisherRecord(p, true);
  EXPECT_EQ(r.bytes[216], 0xAB);
  EXPECT_EQ(r.bytes[228], 0xCD);
  EXPECT_EQ(r.bytes[240], 12);
  EXPECT_EQ(r.bytes[252], 0xEF);
  EXPECT_EQ(r.bytes[264], 63);
  EXPECT_EQ(r.bytes[276], 1 << 6);
  EXPECT_EQ(r.bytes[288], 0x53);
  EXPECT_EQ(r.bytes[202], 1);
  EXPECT_EQ(r.Word(196), 1);
}

TEST(CompanionWriter, PersonFieldsAndRawBytes) {
  Publisher p;
  p.anointed = true;
  p.id = 0x1234;
  p.extensionIndex = 3;
  p.previousYearLink = 0x0102;
  p.appointment = Appointment::kElder;
  p.sex = Sex::kMale;
  p.remarkSlot[4] = 9;
  auto r = EncodePublisherRecord(p, true);
  EXPECT_EQ(r.bytes[180], 'A');
  EXPECT_EQ(r.bytes[182], 0x34);
  EXPECT_EQ(r.bytes[183], 0x12);
  EXPECT_EQ(r.Word(184), 3);
  EXPECT_EQ(r.Word(192), 0x0102);
  EXPECT_EQ(r.bytes[215], 0x22);
  EXPECT_EQ(r.bytes[316], 9);
  p.sex = Sex::kFemale;
  p.appointment = Appointment::kNone;
  EXPECT_EQ(EncodePublisherRecord(p, true).bytes[215], 0x40);
}

TEST(CompanionWriter, PublisherFileIsHeaderThenRecords) {
  PublisherFile file;
  file.publishers.resize(2);
  file.publishers[1].id = 77;
  auto bytes = PublisherFileBytes(file);
  ASSERT_EQ(bytes.size(), 3 * R::kSize);
  EXPECT_EQ(bytes[2 * R::kSize + 182], 77);
}

TEST(CompanionWriter, ExtensionFile) {
  auto bytes = ExtensionFileBytes({{3, 0x0201, "Ab", "c", ""}});
  ASSERT_EQ(bytes.size(), 4u * 192);
  for (int i = 0; i < 3 * 192; ++i) ASSERT_EQ(bytes[i], 0) << i;
  const auto* r = bytes.data() + 3 * 192;
  EXPECT_EQ(r[0], 0x01);
  EXPECT_EQ(r[1], 0x02);
  EXPECT_EQ(r[2], 'A' + 47);
  EXPECT_EQ(r[3], 'b' + 48);
  EXPECT_EQ(r[4], 0);
  EXPECT_EQ(r[67], 'c' + 47);
  EXPECT_EQ(r[118], 0);
}

TEST(CompanionWriter, RemarkFile) {
  auto bytes = RemarkFileBytes({{10, 0x0110, "Kisegítő"}, {1, 11, std::string(35, 'x')}});
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(bytes[0], 'K');
  EXPECT_EQ(bytes[5], 0xED);  // í, not scrambled
  EXPECT_EQ(bytes[8], 0);
  EXPECT_EQ(bytes[37], 10);
  EXPECT_EQ(bytes[38], 0x10);
  EXPECT_EQ(bytes[39], 0x01);
  EXPECT_EQ(bytes[40 + 34], 'x');
  EXPECT_EQ(bytes[40 + 35], 0);
}

TEST(CompanionWriter, RefusesWhatDoesNotReadBackTheSame) {
  struct Case {
    const char* what;
    void (*change)(Publisher&);
    const char* mustName;
  } cases[] = {
      {"name too long", [](Publisher& p) { p.givenName = std::string(21, 'a'); }, "givenName"},
      {"accented name too long", [](Publisher& p) { p.familyName = "Árvíztűrő Tükörfúrógép"; },
       "familyName"},
      {"address too long", [](Publisher& p) { p.homeAddress = std::string(63, 'a'); },
       "homeAddress"},
      {"mobile too long", [](Publisher& p) { p.mobileTelephone = std::string(15, '1'); },
       "mobileTelephone"},
      {"date too long", [](Publisher& p) { p.dateOfBirth = "123119801"; }, "dateOfBirth"},
      {"no code page character", [](Publisher& p) { p.givenName = "Zoë€ω"; }, "givenName"},
      {"scrambles to 0", [](Publisher& p) { p.givenName = "Ń"; }, "givenName"},  // 209 + 47
      {"scrambles to 204 in a name", [](Publisher& p) { p.familyName = "ť"; },   // 157 + 47 = 204
       "familyName"},
      {"scrambles to 204 early in the address",
       [](Publisher& p) { p.homeAddress = std::string(29, 'a') + "€"; },  // 128 + 29 + 47
       "homeAddress"},
      {"scrambled 0 in a date", [](Publisher& p) { p.dateImmersed = "Ń"; }, "dateImmersed"},
      {"hours", [](Publisher& p) { p.months[2].hours = 256; }, "Hours"},
      {"bible studies", [](Publisher& p) { p.months[2].bibleStudies = 64; }, "BibleStudies"},
      {"books", [](Publisher& p) { p.months[2].books = 256; }, "Books"},
      {"subscriptions", [](Publisher& p) { p.months[2].subscriptions = 64; }, "Subscriptions"},
      {"magazines", [](Publisher& p) { p.months[2].magazines = 4096; }, "Magazines"},
      {"brochures", [](Publisher& p) { p.months[2].brochures = 4096; }, "Brochures"},
      {"return visits", [](Publisher& p) { p.months[2].returnVisits = 1024; }, "ReturnVisits"},
      {"negative", [](Publisher& p) { p.months[2].hours = -1; }, "Hours"},
      {"quarters", [](Publisher& p) { p.months[2].quarters = 4; }, "quarter"},
      {"placements",
       [](Publisher& p) {
         p.months[2].newForm = true;
         p.months[2].placements = 4096;
       },
       "Placements"},
      {"videos on the old form", [](Publisher& p) { p.months[2].videoShowings = 1; },
       "VideoShowings"},
      {"books on the new form",
       [](Publisher& p) {
         p.months[2].newForm = true;
         p.months[2].books = 1;
       },
       "Books"},
  };
  for (const auto& c : cases) {
    Publisher p;
    p.givenName = "Éva";
    p.familyName = "Kiss";
    p.id = 42;
    c.change(p);
    try {
      EncodePublisherRecord(p, true);
      ADD_FAILURE() << c.what << ": not refused";
    } catch (const WriterError& e) {
      std::string message = e.what();
      EXPECT_NE(message.find(c.mustName), std::string::npos) << c.what << ": " << message;
      EXPECT_NE(message.find("id 42"), std::string::npos) << c.what << ": " << message;
    }
  }
}

TEST(CompanionWriter, PlainFileTakesWhatScramblingCannot) {
  Publisher p;
  p.givenName = "Ń";
  EXPECT_THROW(EncodePublisherRecord(p, true), WriterError);
  EXPECT_EQ(EncodePublisherRecord(p, false).bytes[2], 209);
}

TEST(CompanionWriter, RefusesBadExtensionsAndRemarks) {
  EXPECT_THROW(ExtensionFileBytes({{0, 5, "a", "", ""}}), WriterError);
  EXPECT_THROW(ExtensionFileBytes({{1, 5, "a", "", ""}, {1, 6, "b", "", ""}}), WriterError);
  EXPECT_THROW(ExtensionFileBytes({{1, 5, std::string(65, 'a'), "", ""}}), WriterError);
  EXPECT_THROW(ExtensionFileBytes({{1, 5, "Ń", "", ""}}), WriterError);
  EXPECT_THROW(RemarkFileBytes({{1, 11, std::string(36, 'x')}}), WriterError);
  EXPECT_THROW(RemarkFileBytes({{1, 11, "őő€ж"}}), WriterError);
  PublisherFile header;
  header.password = std::string(21, 'p');
  EXPECT_THROW(EncodeHeaderRecord(header), WriterError);
}

TEST(CompanionWriter, WritesAndRemovesTheFilesOfAFolder) {
  test::TempDir dir;
  Congregation c;
  c.current.publishers.resize(1);
  c.extensions.push_back({1, 0, "Teljes Név", "", ""});
  c.remarks.push_back({1, 11, "x"});
  c.previous.emplace();
  c.previousRemarks.push_back({1, 11, "y"});
  WriteCongregation(c, dir.path());
  EXPECT_EQ(test::ReadBytes(dir / "tdat7.bin").size(), 2u * 336);
  EXPECT_EQ(test::ReadBytes(dir / "xten7.dat").size(), 2u * 192);
  EXPECT_EQ(test::ReadBytes(dir / "remark7.dat").size(), 40u);
  EXPECT_EQ(test::ReadBytes(dir / "Roll/Ov7_8/tdat7.bin").size(), 336u);
  EXPECT_EQ(test::ReadBytes(dir / "Roll/Ov7_8/remark7.dat").size(), 40u);

  Congregation bare;
  WriteCongregation(bare, dir.path());
  EXPECT_TRUE(std::filesystem::exists(dir / "tdat7.bin"));
  for (const char* gone :
       {"xten7.dat", "remark7.dat", "Roll/Ov7_8/tdat7.bin", "Roll/Ov7_8/remark7.dat"}) {
    EXPECT_FALSE(std::filesystem::exists(dir / gone)) << gone;
  }
}

TEST(CompanionWriter, WritesNothingWhenAnyFileIsRefused) {
  test::TempDir dir;
  Congregation c;
  c.remarks.push_back({1, 11, std::string(40, 'x')});
  EXPECT_THROW(WriteCongregation(c, dir.path()), WriterError);
  EXPECT_FALSE(std::filesystem::exists(dir / "tdat7.bin"));
}

}  // namespace
}  // namespace velunorh::tools
