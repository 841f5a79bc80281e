#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "companion/congregation_data.h"
#include "companion/month_values.h"
#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh {
namespace {

using R = PublisherRecord;
using tools::Publisher;
using tools::PublisherFile;

tools::Publisher FullPublisher() {
  Publisher p;
  p.givenName = "Őrsi Zsófia Éva";
  p.familyName = "Bűvös-Tóthné Ügyes";
  p.homeAddress = "1121 Budapest, Hegyalja út 12. II. emelet 4. ajtó, kapucsengő7";
  p.homeTelephone = "06-1-234-5678";
  p.mobileTelephone = "+36201234567";
  p.spareText = "tartalék";
  p.dateImmersed = "06201998";
  p.dateOfBirth = "03151980";
  p.anointed = true;
  p.id = 1234;
  p.extensionIndex = 5;
  p.appointment = tools::Appointment::kMinisterialServant;
  p.sex = tools::Sex::kFemale;
  p.remarkSlot[3] = 2;
  auto& oldMonth = p.months[9];
  oldMonth.books = 255;
  oldMonth.brochures = 4095;
  oldMonth.hours = 255;
  oldMonth.subscriptions = 63;
  oldMonth.magazines = 4095;
  oldMonth.returnVisits = 1023;
  oldMonth.bibleStudies = 63;
  oldMonth.quarters = 3;
  oldMonth.pioneer = tools::Pioneer::kRegular;
  auto& newMonth = p.months[1];
  newMonth.newForm = true;
  newMonth.placements = 4095;
  newMonth.videoShowings = 4095;
  newMonth.hours = 70;
  newMonth.returnVisits = 1023;
  newMonth.bibleStudies = 63;
  newMonth.quarters = 1;
  newMonth.pioneer = tools::Pioneer::kAuxiliary;
  return p;
}

struct Folder {
  test::TempDir dir;
  CongregationData data{DataPaths{dir.path()}};

  Folder() { EXPECT_TRUE(data.AllocateTables()); }

  void Write(const tools::Congregation& c) { tools::WriteCongregation(c, dir.path()); }
  void WriteCurrent(const std::vector<std::uint8_t>& bytes) {
    tools::WriteBytesFile(dir / "tdat7.bin", bytes);
  }
  void Load(const CongregationData::PasswordCheck& check = {}) {
    bool stop = false;
    data.LoadAllData(stop, check);
  }
};

TEST(PublisherFile, ReadsBackWhatWasWrittenScrambledOrPlain) {
  for (bool scrambled : {true, false}) {
    Folder f;
    tools::Congregation c;
    c.current.scrambled = scrambled;
    c.current.publishers = {FullPublisher(), Publisher{}};
    c.current.publishers[1].givenName = "Ádám";
    f.Write(c);
    f.Load();

    ASSERT_EQ(f.data.current.count, 3) << scrambled;
    EXPECT_EQ(f.data.current[0].IsPlainText(), !scrambled);
    EXPECT_EQ(f.data.current[0].accessPassword(), " ");
    const R& r = f.data.current[1];
    const Publisher p = FullPublisher();
    EXPECT_EQ(r.givenName(), p.givenName);
    EXPECT_EQ(r.familyName(), p.familyName);
    EXPECT_EQ(r.homeAddress(), p.homeAddress);
    EXPECT_EQ(r.homeTelephone(), p.homeTelephone);
    EXPECT_EQ(r.mobileTelephone(), p.mobileTelephone);
    EXPECT_EQ(r.Text(R::kSpareText), p.spareText);
    EXPECT_EQ(r.Text(R::kDateImmersed), p.dateImmersed);
    EXPECT_EQ(r.Text(R::kDateOfBirth), p.dateOfBirth);
    EXPECT_EQ(r.anointedMark(), 'A');
    EXPECT_EQ(r.publisherId(), 1234);
    EXPECT_EQ(r.extensionIndex(), 5);
    EXPECT_EQ(r.Appointment(), Appointment::kMinisterialServant);
    EXPECT_TRUE(r.IsFemale());
    EXPECT_FALSE(r.IsMale());
    EXPECT_EQ(r.remarkSlot(3), 2);
    EXPECT_EQ(r.PioneerStatus(9), Pioneer::kRegular);
    EXPECT_EQ(r.PioneerStatus(1), Pioneer::kAuxiliary);
    EXPECT_EQ(r.PioneerStatus(0), Pioneer::kNone);

    const std::pair<ValueKind, std::uint16_t> oldValues[] = {
        {ValueKind::Books, 255},       {ValueKind::Brochures, 4095},
        {ValueKind::Hours, 255},       {ValueKind::Subscriptions, 63},
        {ValueKind::Magazines, 4095},  {ValueKind::ReturnVisits, 1023},
        {ValueKind::BibleStudies, 63}, {ValueKind::HourQuarters, 3}};
    for (const auto& [kind, value] : oldValues) {
      EXPECT_EQ(DecodeOldForm(r, 9, kind), value) << "old kind " << static_cast<int>(kind);
    }
    const std::pair<ValueKind, std::uint16_t> newValues[] = {{ValueKind::Placements, 4095},
                                                             {ValueKind::VideoShowings, 4095},
                                                             {ValueKind::Hours, 70},
                                                             {ValueKind::ReturnVisits, 1023},
                                                             {ValueKind::BibleStudies, 63}};
    for (const auto& [kind, value] : newValues) {
      EXPECT_EQ(DecodeNewForm(r, 1, kind), value) << "new kind " << static_cast<int>(kind);
    }
    EXPECT_EQ(r.newFormMonths(), 1 << 1);
    EXPECT_EQ(f.data.current[2].givenName(), "Ádám");
  }
}

TEST(PublisherFile, CountsWholeRecordsOnly) {
  struct Case {
    int records;
    int extraBytes;
    int count;
  } cases[] = {{1, 0, 1}, {1, 335, 1}, {4, 0, 4}, {4, 1, 4}, {4, 200, 4}, {0, 335, 1}};
  for (const auto& c : cases) {
    Folder f;
    PublisherFile file;
    file.publishers.resize(c.records > 0 ? c.records - 1 : 0);
    for (std::size_t i = 0; i < file.publishers.size(); ++i) {
      file.publishers[i].id = static_cast<std::uint16_t>(100 + i);
    }
    auto bytes = c.records > 0 ? tools::PublisherFileBytes(file) : std::vector<std::uint8_t>{};
    bytes.insert(bytes.end(), c.extraBytes, 0x41);
    f.WriteCurrent(bytes);
    f.Load();
    EXPECT_EQ(f.data.current.count, c.count) << c.records << "+" << c.extraBytes;
    if (c.records > 1) {
      EXPECT_EQ(f.data.current[c.records - 1].publisherId(), 100 + c.records - 2);
    }
  }
}

TEST(PublisherFile, MissingOrEmptyFileGivesTheDefaultHeader) {
  for (const char* state : {"missing", "empty", "short"}) {
    Folder f;
    if (std::string(state) == "empty") f.WriteCurrent({});
    if (std::string(state) == "short") f.WriteCurrent(std::vector<std::uint8_t>(100, 0x55));
    std::string asked;
    f.Load([&](const R& header) {
      asked = header.accessPassword();
      return true;
    });
    ASSERT_EQ(f.data.current.count, 1) << state;
    const R& header = f.data.current[0];
    EXPECT_EQ(header.accessPassword(), " ") << state;
    EXPECT_EQ(asked, " ") << state;
    EXPECT_TRUE(header.IsPlainText()) << state;
    EXPECT_EQ(header.bytes[24], 0) << state;
    for (std::size_t i = 25; i < R::kSize; ++i) ASSERT_EQ(header.bytes[i], 0) << state << " " << i;
  }
}

TEST(PublisherFile, ReadsTheFileOfTheDataLocation) {
  Folder f;
  test::TempDir floppy;
  f.data.paths().floppyFolder = floppy.path();
  f.data.paths().dataLocation = 1;
  PublisherFile file;
  file.publishers.resize(2);
  tools::WriteBytesFile(floppy / "tdat7.bin", tools::PublisherFileBytes(file));
  f.Load();
  EXPECT_EQ(f.data.current.count, 3);
}

TEST(PublisherFile, TakesAtMost309RecordsOfALongerFile) {
  for (int records : {309, 310, 400}) {
    Folder f;
    PublisherFile file;
    file.publishers.resize(records - 1);
    for (int i = 0; i < records - 1; ++i) {
      file.publishers[i].id = static_cast<std::uint16_t>(i + 1);
      file.publishers[i].familyName = "Név" + std::to_string(i + 1);
    }
    f.WriteCurrent(tools::PublisherFileBytes(file));
    f.Load();
    EXPECT_EQ(f.data.current.count, 309) << records;
    EXPECT_EQ(f.data.current.slots.size(), 310u);
    EXPECT_EQ(f.data.current[308].publisherId(), 308) << records;
    EXPECT_EQ(f.data.current[308].familyName(), "Név308") << records;
  }
}

// Whatever the bytes, a load stays inside the table and every text inside its field.
TEST(PublisherFile, GarbageLoadsWithoutHarm) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    Folder f;
    std::vector<std::uint8_t> bytes(R::kSize * (1 + round % 5) + round * 13);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    if (round % 2) bytes[23] = 'A';  // plain: nothing forces a NUL
    if (round % 3 == 0) std::fill(bytes.begin(), bytes.end(), round % 2 ? 'A' : 0xFF);
    f.WriteCurrent(bytes);
    test::WriteBytes(f.dir / "Roll/Ov7_8/tdat7.bin",
                     std::vector<unsigned char>(bytes.begin(), bytes.end()));
    f.Load();
    EXPECT_EQ(f.data.current.count, std::max<int>(1, bytes.size() / R::kSize));
    for (int slot = 0; slot < f.data.current.count; ++slot) {
      const R& r = f.data.current[slot];
      for (R::Field field :
           {R::kGivenName, R::kFamilyName, R::kHomeAddress, R::kHomeTelephone, R::kMobileTelephone,
            R::kSpareText, R::kDateImmersed, R::kDateOfBirth}) {
        EXPECT_LE(r.RawText(field).size(), field.width);
        r.Text(field);
      }
    }
    const ServiceYear year{10, 2026, true};
    for (int slot = 0; slot < f.data.current.count + 2; ++slot) {
      for (int m = 0; m < 12; ++m) {
        for (int kind = 0; kind <= static_cast<int>(ValueKind::HourQuarters); ++kind) {
          CardValue(f.data, year, slot, m, static_cast<ValueKind>(kind));
          OldFormValue(f.data, year, slot, m, static_cast<ValueKind>(kind));
        }
      }
    }
  }
}

TEST(PublisherFile, FieldsWithoutANulStopAtTheirWidth) {
  Folder f;
  std::vector<std::uint8_t> bytes(2 * R::kSize, 'x');
  bytes[23] = 'A';  // plain, so no NUL is forced
  f.WriteCurrent(bytes);
  f.Load();
  const R& r = f.data.current[1];
  EXPECT_EQ(r.RawText(R::kGivenName), std::string(21, 'x'));
  EXPECT_EQ(r.RawText(R::kMobileTelephone), std::string(15, 'x'));
  EXPECT_EQ(r.RawText(R::kDateOfBirth), std::string(9, 'x'));
}

TEST(PublisherFile, PreviousYearNeedsMoreThan500Bytes) {
  struct Case {
    int size;  // -1: missing; -2: a folder of that name
    bool available;
  } cases[] = {{-1, false}, {-2, false}, {0, false}, {500, false}, {501, true}, {672, true}};
  for (const auto& c : cases) {
    Folder f;
    const auto file = f.dir / "Roll/Ov7_8/tdat7.bin";
    if (c.size == -2) std::filesystem::create_directories(file);
    if (c.size >= 0) test::WriteBytes(file, std::vector<unsigned char>(c.size, 'A'));
    EXPECT_EQ(f.data.PreviousYearAvailable(), c.available) << c.size;
  }
}

TEST(PublisherFile, PreviousYearIsDecodedByItsOwnMarker) {
  Folder f;
  tools::Congregation c;
  c.current.scrambled = false;
  c.current.publishers.resize(1);
  c.previous.emplace();
  c.previous->publishers.resize(1);
  c.previous->publishers[0].givenName = "Zoé";
  f.Write(c);
  f.Load();
  ASSERT_EQ(f.data.previous.count, 2);
  EXPECT_EQ(f.data.previous[1].givenName(), "Zoé");
}

TEST(PublisherFile, PasswordDecidesWhetherThePreviousYearLoads) {
  struct Case {
    const char* what;
    bool alreadyStopped;
    bool accept;
    bool hook;
    bool stopped;
    bool asked;
  } cases[] = {
      {"accepted", false, true, true, false, true},
      {"refused", false, false, true, true, true},
      {"no check given", false, false, false, false, false},
      {"already stopping", true, true, true, true, false},
  };
  for (const auto& c : cases) {
    Folder f;
    tools::Congregation congregation;
    congregation.current.password = "titok";
    congregation.current.publishers.resize(1);
    congregation.current.publishers[0].id = 50;
    congregation.current.publishers[0].givenName = "Béla";
    congregation.current.publishers[0].previousYearLink = 9;
    congregation.previous = congregation.current;
    f.Write(congregation);
    bool stop = c.alreadyStopped;
    bool asked = false;
    CongregationData::PasswordCheck check;
    if (c.hook) {
      check = [&](const R& header) {
        asked = true;
        EXPECT_EQ(header.accessPassword(), "titok");
        return c.accept;
      };
    }
    f.data.LoadAllData(stop, check);
    EXPECT_EQ(stop, c.stopped) << c.what;
    EXPECT_EQ(asked, c.asked) << c.what;
    EXPECT_EQ(f.data.current.count, 2) << c.what;
    EXPECT_EQ(f.data.previous.count, c.stopped ? 0 : 2) << c.what;
    EXPECT_EQ(f.data.current[1].previousYearLink(), c.stopped ? 9 : 1) << c.what;
  }
}

TEST(PublisherFile, AReloadForgetsThePreviousYearOfTheOldSource) {
  Folder f;
  tools::Congregation c;
  c.current.publishers.resize(1);
  c.previous = c.current;
  f.Write(c);
  f.Load();
  ASSERT_EQ(f.data.previous.count, 2);
  c.previous.reset();
  f.Write(c);
  f.Load();
  EXPECT_EQ(f.data.previous.count, 0);
}

TEST(LinkPreviousYear, LinksByIdAndOneMatchingName) {
  auto person = [](std::uint16_t id, const char* given, const char* family) {
    Publisher p;
    p.id = id;
    p.givenName = given;
    p.familyName = family;
    p.previousYearLink = 77;  // the file's value never survives
    return p;
  };
  tools::Congregation c;
  c.current.publishers = {
      person(20, "Anna", "Kiss"),      // 1: both names match in 2 and 4 -> 4 (the last)
      person(21, "Béla", "Nagy"),      // 2: given name only -> 1
      person(22, "Csaba", "Tóth"),     // 3: family name only -> 3
      person(0, "Dóra", "Szabó"),      // 4: id 0 never links
      person(23, "Emese", "Varga"),    // 5: same id, no name matches -> 0
      person(24, "Ferenc", "Kovács"),  // 6: name matches, another id -> 0
      person(25, "gábor", "Balogh"),   // 7: case counts -> 0
  };
  c.previous.emplace();
  c.previous->publishers = {
      person(21, "Béla", "Nagyné"),    // 1
      person(20, "Anna", "Kiss"),      // 2
      person(22, "Csabi", "Tóth"),     // 3
      person(20, "Anna", "Kiss"),      // 4
      person(0, "Dóra", "Szabó"),      // 5
      person(23, "Emőke", "Vargáné"),  // 6
      person(99, "Ferenc", "Kovács"),  // 7
      person(25, "Gábor", "balogh"),   // 8
  };
  Folder f;
  f.Write(c);
  f.Load();
  const int expected[] = {4, 1, 3, 0, 0, 0, 0};
  for (int j = 1; j <= 7; ++j) {
    EXPECT_EQ(f.data.current[j].previousYearLink(), expected[j - 1]) << j;
  }
}

}  // namespace
}  // namespace velunorh
