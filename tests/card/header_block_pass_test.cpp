#include "card/header_block_pass.h"

#include <gtest/gtest.h>

#include "card/card_content.h"
#include "card/header_preview_pass.h"
#include "card/recording_surface.h"
#include "loaded_congregation.h"
#include "no_questions.h"
#include "session/session.h"

namespace velunorh {
namespace {

using P = HeaderPosition;
using tools::Appointment;
using tools::Pioneer;
using tools::Sex;

constexpr int kOctober = 9;

tools::Publisher Bela() {
  tools::Publisher p;
  p.id = 20;
  p.givenName = "Béla";
  p.familyName = "Szabó";
  p.homeAddress = "Fő utca 1";
  p.homeTelephone = "1234";
  p.mobileTelephone = "5678";
  p.dateImmersed = "05141995";
  p.dateOfBirth = "03021970";
  p.anointed = true;
  p.appointment = Appointment::kElder;
  p.sex = Sex::kMale;
  p.months[kOctober].pioneer = Pioneer::kRegular;
  return p;
}

// Positions in hundredths of an inch, X then Y, distinct wherever a mix-up could hide.
CardLayout TestLayout() {
  CardLayout layout;
  const char* values[][2] = {
      {"0.30", "0.22"}, {"0.50", "0.38"}, {"0.80", "0.57"}, {"2.50", "0.57"},
      {"4.35", "0.57"}, {"1.15", "0.81"}, {"3.35", "0.95"}, {"4.25", "0.75"},
      {"4.25", "0.86"}, {"4.65", "0.75"}, {"5.30", "0.00"}, {"5.30", "0.10"},
  };
  for (int i = 0; i < kHeaderPositionCount; ++i) {
    layout.SetX(static_cast<P>(i), values[i][0]);
    layout.SetY(static_cast<P>(i), values[i][1]);
  }
  return layout;
}

class HeaderBlockTest : public ::testing::Test {
 protected:
  HeaderBlockTest() : d_(Congregation()) {
    choice_.slot = 1;
    choice_.year.reportMonth = kOctober;
    input_.printGenderMarks = true;
    input_.leftMargin = "0.30";
    input_.topMargin = "0.20";
    input_.layout = TestLayout();
  }

  // With a full name, which the card shows as it is written.
  static tools::Congregation Congregation() {
    tools::Congregation c;
    c.current.publishers = {Bela()};
    c.current.publishers[0].extensionIndex = 1;
    c.extensions = {{1, 20, "Szabó Béla", "", ""}};
    return c;
  }

  PublisherRecord& record() { return d_.data.current[1]; }

  struct Item {
    std::string text;
    int x, y;
    bool operator==(const Item&) const = default;
  };
  friend std::ostream& operator<<(std::ostream& os, const Item& i) {
    return os << "\"" << i.text << "\" at " << i.x << "," << i.y;
  }

  // Built again for every print: the tests change the record between prints.
  CardContent Content() { return BuildCardContent(d_.data, choice_); }

  std::vector<Item> Print(int hres = 300, int vres = 300) {
    RecordingSurface surface(hres, vres);
    PrintHeaderBlock(surface, Content(), input_);
    std::vector<Item> items;
    for (const auto& t : surface.texts) items.push_back({t.text, t.x, t.y});
    return items;
  }
  // The "x" marks only, at 300 dots per inch both ways.
  std::vector<Item> Marks() {
    std::vector<Item> marks;
    for (const auto& i : Print())
      if (i.text == "x") marks.push_back(i);
    return marks;
  }

  test::LoadedCongregation d_;
  CardChoice choice_;
  HeaderBlockInput input_;
};

TEST_F(HeaderBlockTest, EveryItemSitsAtItsPositionAtEachResolution) {
  // Hundredths of an inch from the page's origin: the layout value plus the margin.
  const std::vector<Item> inches = {
      {"Szabó Béla", 60, 42}, {"x", 560, 20},           {"Fő utca 1", 80, 58},
      {"1234", 110, 77},      {"5678", 280, 77},        {"03/02/1970", 465, 77},
      {"x", 455, 95},         {"05/14/1995", 145, 101}, {"felkent", 365, 101},
      {"x", 455, 106},
  };
  struct Resolution {
    int hres, vres, fontHeight;
  } resolutions[] = {{300, 300, 41}, {600, 600, 83}, {600, 300, 41}};
  for (const auto& r : resolutions) {
    std::vector<Item> expected;
    for (const auto& i : inches)
      expected.push_back({i.text, i.x * r.hres / 100, i.y * r.vres / 100});
    RecordingSurface surface(r.hres, r.vres);
    PrintHeaderBlock(surface, Content(), input_);
    std::vector<Item> printed;
    for (const auto& t : surface.texts) {
      printed.push_back({t.text, t.x, t.y});
      EXPECT_EQ(t.h, HAlign::kLeft);
      EXPECT_EQ(t.v, VAlign::kTop);
      EXPECT_EQ(t.font, (FontSpec{"Arial", r.fontHeight, 400, 0}));
      EXPECT_EQ(t.color, kBlack);
    }
    EXPECT_EQ(printed, expected) << r.hres << "x" << r.vres;
  }
  // The name on a 600 x 300 device: 0.60 inches across, 0.42 down.
  RecordingSurface surface(600, 300);
  PrintHeaderBlock(surface, Content(), input_);
  EXPECT_EQ(surface.texts.at(0).x, 360);
  EXPECT_EQ(surface.texts.at(0).y, 126);
}

TEST_F(HeaderBlockTest, GenderMarkFollowsTheSexBitsTheBoxAndTheSwitchedOffPositions) {
  record().bytes[PublisherRecord::kPersonFlags] = 0;  // no appointment: gender marks only
  record().bytes[PublisherRecord::kMonthFlags + kOctober] = 0;
  const Item male{"x", 1680, 60}, female{"x", 1680, 90};
  struct Case {
    const char* what;
    std::uint8_t sexBits;
    bool printGenderMarks;
    const char* maleX;
    const char* femaleX;
    std::vector<Item> marks;
  } cases[] = {
      {"male", 0x20, true, "5.30", "5.30", {male}},
      {"female", 0x40, true, "5.30", "5.30", {female}},
      {"both bits: female wins", 0x60, true, "5.30", "5.30", {female}},
      {"no sex", 0x00, true, "5.30", "5.30", {}},
      {"F/N unchecked", 0x20, false, "5.30", "5.30", {}},
      {"male box switched off", 0x20, true, "0.00", "5.30", {}},
      {"female box switched off", 0x40, true, "5.30", "0.00", {}},
      {"both bits, female switched off: no fallback", 0x60, true, "5.30", "0.00", {}},
      {"switched off by its X only", 0x20, true, "0.00", "0.00", {}},
  };
  for (const auto& c : cases) {
    record().bytes[PublisherRecord::kPersonFlags] = c.sexBits;
    input_.printGenderMarks = c.printGenderMarks;
    input_.layout.SetX(P::Male, c.maleX);
    input_.layout.SetX(P::Female, c.femaleX);
    EXPECT_EQ(Marks(), c.marks) << c.what;
  }
}

TEST_F(HeaderBlockTest, AppointmentAndPioneerMarks) {
  input_.printGenderMarks = false;
  const Item elder{"x", 1365, 285}, servant{"x", 1485, 285}, pioneer{"x", 1365, 318};
  struct Case {
    const char* what;
    std::uint8_t appointment;
    int octoberStatus;
    int septemberStatus;
    std::vector<Item> marks;
  } cases[] = {
      {"elder", 2, 0, 0, {elder}},
      {"ministerial servant", 1, 0, 0, {servant}},
      {"appointment 3 marks nothing", 3, 0, 0, {}},
      {"regular pioneer in the report month", 0, 2, 0, {pioneer}},
      {"regular pioneer only earlier", 0, 0, 2, {}},
      {"auxiliary pioneer", 0, 1, 0, {}},
      {"servant and pioneer", 1, 2, 0, {servant, pioneer}},
  };
  for (const auto& c : cases) {
    record().bytes[PublisherRecord::kPersonFlags] = c.appointment;
    record().bytes[PublisherRecord::kMonthFlags + kOctober] = c.octoberStatus;
    record().bytes[PublisherRecord::kMonthFlags + kOctober - 1] = c.septemberStatus;
    EXPECT_EQ(Marks(), c.marks) << c.what;
  }
}

TEST_F(HeaderBlockTest, AnointedTextSitsOnTheImmersionLine) {
  auto sheep = [&]() -> std::vector<Item> {
    std::vector<Item> found;
    for (const auto& i : Print())
      if (i.text == "felkent" || i.text == "más juh") found.push_back(i);
    return found;
  };
  input_.layout.SetY(P::AnointedOrOtherSheep, "2.00");
  EXPECT_EQ(sheep(), (std::vector<Item>{{"felkent", 1095, 303}}));

  input_.layout.SetY(P::DateImmersed, "1.00");
  EXPECT_EQ(sheep(), (std::vector<Item>{{"felkent", 1095, 360}}));

  record().bytes[PublisherRecord::kAnointedMark] = 'a';
  EXPECT_EQ(sheep(), (std::vector<Item>{{"más juh", 1095, 360}}));

  record().SetRawText(PublisherRecord::kDateImmersed, "    ");
  EXPECT_EQ(sheep(), (std::vector<Item>{}));
  EXPECT_EQ(Print().size(), 8u);  // and no empty immersion date either
}

TEST_F(HeaderBlockTest, DatesFollowTheDateFormat) {
  choice_.dateFormat = 2;
  const auto items = Print();
  EXPECT_EQ(items[5], (Item{"1970. Már. 02.", 1395, 231}));
  EXPECT_EQ(items[7], (Item{"1995. Máj. 14.", 435, 303}));
}

TEST_F(HeaderBlockTest, NothingWithoutTheHeaderBoxOrAPublisher) {
  input_.printHeader = false;
  EXPECT_TRUE(Print().empty());
  input_.printHeader = true;
  choice_.slot = 0;
  EXPECT_TRUE(Print().empty());
  choice_.slot = 2;  // past the loaded records
  EXPECT_TRUE(Print().empty());
}

// The card's name follows the full-name and family-name-first choices, and the header print and
// the header preview show that one name.
TEST(CardContentDisplayName, FollowsTheFullNameChoicesAndBothHeadersShowIt) {
  tools::Congregation c;
  c.current.publishers = {Bela(), Bela(), Bela(), Bela()};
  for (int i = 0; i < 4; ++i) c.current.publishers[i].id = static_cast<std::uint16_t>(20 + i);
  c.current.publishers[0].extensionIndex = 1;
  c.current.publishers[1].extensionIndex = 2;
  c.current.publishers[2].extensionIndex = 3;
  c.extensions = {
      {1, 20, "Szabó Béla Ferenc", "", ""}, {2, 21, "", "Budapest", ""}, {3, 22, "1234", "", ""}};
  struct Case {
    const char* what;
    int slot;
    bool useFullName, lastNameFirst;
    const char* name;
  } cases[] = {
      {"full name", 1, true, false, "Szabó Béla Ferenc"},
      {"full name not wanted", 1, false, true, "Szabó, Béla"},
      {"empty full name", 2, true, false, "Béla Szabó"},
      {"full name without a letter", 3, true, false, "Béla Szabó"},
      {"no extension record", 4, true, true, "Szabó, Béla"},
      {"no publisher", 0, true, false, ""},
  };
  test::LoadedCongregation d(c);
  for (const auto& k : cases) {
    CardChoice choice;
    choice.slot = k.slot;
    choice.useFullName = k.useFullName;
    choice.lastNameFirst = k.lastNameFirst;
    const CardContent card = BuildCardContent(d.data, choice);
    EXPECT_EQ(card.displayName, k.name) << k.what;

    HeaderBlockInput block;
    block.layout = TestLayout();
    RecordingSurface printed(300, 300);
    PrintHeaderBlock(printed, card, block);
    RecordingSurface preview(96, 96);
    DrawHeaderPreview(preview, {0, 0, 400, 260}, card, HeaderPreviewInput{});
    if (*k.name == '\0') {
      EXPECT_TRUE(printed.texts.empty()) << k.what;
      continue;
    }
    ASSERT_FALSE(printed.texts.empty()) << k.what;
    EXPECT_EQ(printed.texts[0].text, k.name) << k.what;
    EXPECT_NE(preview.Find(k.name), nullptr) << k.what;
  }
}

// The session started on a written folder: the data, the settings and the layout file.
TEST(SessionHeaderBlock, TakesTheSelectionSettingsLayoutAndTheDisplayName) {
  tools::Congregation c;
  c.current.publishers = {Bela()};
  c.current.publishers[0].extensionIndex = 1;
  c.extensions = {{1, 20, "Szabó Béla Ferenc", "", ""}};
  test::TempDir dir;
  tools::WriteCongregation(c, dir.path());
  ASSERT_TRUE(SaveLayout(TestLayout(), dir.path(), 0));
  test::WriteText(dir / "velunorh.INI",
                  "[Format]\nAlt Date Format=3\n[Margins]\nTop=0.20\nLeft=0.30\n");
  test::NoQuestions prompts;
  Session session({dir / "velunorh.INI", dir.path(), dir / "floppy"}, prompts);
  ASSERT_EQ(session.StartUp(ServiceYear::FromDate(2026, 11)), SessionStatus::kRunning);
  ASSERT_EQ(session.selection().year.reportMonth, kOctober);
  session.ChoosePublisher(1);
  session.SetPrintGenderMarks(true);

  EXPECT_EQ(session.Content().displayName, "Szabó Béla Ferenc");
  session.SetUseFullName(false);
  session.SetLastNameFirst(true);
  EXPECT_EQ(session.Content().displayName, "Szabó, Béla");

  const HeaderBlockInput input = session.HeaderBlock();
  EXPECT_TRUE(input.printHeader);
  EXPECT_TRUE(input.printGenderMarks);
  EXPECT_EQ(input.leftMargin, "0.30");
  EXPECT_EQ(input.topMargin, "0.20");
  EXPECT_EQ(input.layout, TestLayout());

  RecordingSurface surface(300, 300);
  PrintHeaderBlock(surface, session.Content(), input);
  std::vector<std::string> texts;
  for (const auto& t : surface.texts) texts.push_back(t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Szabó, Béla", "x", "Fő utca 1", "1234", "5678",
                                             "1970-03-02", "x", "1995-05-14", "felkent", "x"}));
  EXPECT_EQ(surface.texts[0].x, 180);
  EXPECT_EQ(surface.texts[0].y, 126);
}

}  // namespace
}  // namespace velunorh
