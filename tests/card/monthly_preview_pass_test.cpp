#include "card/monthly_preview_pass.h"

#include <gtest/gtest.h>

#include "card/card_content.h"
#include "card/recording_surface.h"
#include "loaded_congregation.h"
#include "no_questions.h"
#include "session/session.h"

namespace velunorh {
namespace {

using tools::Pioneer;

constexpr int kAugust = 7, kSeptember = 8, kOctober = 9, kDecember = 11;
constexpr std::uint16_t kId = 20;
constexpr int kBx = 1, kBy = 2;

// 400 x 280 from (10, 20): on the old form columns of 40 and rows of 20; titles at y 22, month
// row i at 20 + 20 i + 2, the year, the month names and "Összes" ending at x 42.
const Rect kClient{10, 20, 410, 300};

struct Drawn {
  std::string text;
  int x, y;
  bool operator==(const Drawn&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Drawn& d) {
  return os << "\"" << d.text << "\" at " << d.x << "," << d.y;
}

std::vector<Drawn> Texts(const RecordingSurface& s) {
  std::vector<Drawn> texts;
  for (const auto& t : s.texts) texts.push_back({t.text, t.x, t.y});
  return texts;
}

tools::Publisher Anna() {
  tools::Publisher p;
  p.id = kId;
  p.givenName = "Anna";
  p.familyName = "Kiss";
  return p;
}

// The card's choice and what the preview ticks.
struct Preview {
  CardChoice choice;
  MonthlyPreviewInput input;
};

Preview Input(int reportMonth, bool previousServiceYear = false) {
  Preview preview;
  preview.choice.slot = 1;
  preview.choice.year = {reportMonth, 2026, previousServiceYear};
  return preview;
}

void Draw(RecordingSurface& s, CongregationData& data, const Preview& preview) {
  DrawMonthlyPreview(s, kClient, BuildCardContent(data, preview.choice), preview.input, kBx, kBy);
}

// Everything the preview draws that is not a month value, a remark or a total.
std::vector<Drawn> Headings(const std::string& year) {
  std::vector<Drawn> texts = {{"Könyv", 82, 22},       {"Füzet", 122, 22}, {"Óra", 162, 22},
                              {"Folyóirat", 206, 22},  {"UL", 242, 22},    {"BibliaT", 282, 22},
                              {"Megjegyzés", 370, 22}, {year, 42, 22}};
  const char* months[] = {"Szept", "Okt", "Nov", "Dec", "Jan", "Feb",
                          "Márc",  "Ápr", "Máj", "Jún", "Júl", "Aug"};
  for (int i = 0; i < 12; ++i) texts.push_back({months[i], 42, 20 + 20 * (i + 1) + 2});
  texts.push_back({"Összes", 42, 282});
  return texts;
}

TEST(MonthlyPreview, WithoutSelectionOnlyTheGridAndItsHeadings) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  c.current.publishers[0].months[kSeptember].hours = 5;
  test::LoadedCongregation d(c);
  Preview preview = Input(kAugust);
  preview.choice.slot = 0;
  preview.input.monthRow.fill(true);
  preview.input.printTotal = true;

  RecordingSurface s(96, 96);
  Draw(s, d.data, preview);
  EXPECT_EQ(s.rectangles, (std::vector<Rect>{{10, 20, 410, 300}}));
  std::vector<RecordingSurface::Line> lines;
  for (int k = 1; k <= 7; ++k) lines.push_back({10 + 40 * k, 20, 10 + 40 * k, 300});
  for (int j = 1; j <= 13; ++j) lines.push_back({10, 20 + 20 * j, 410, 20 + 20 * j});
  EXPECT_EQ(s.lines, lines);
  EXPECT_EQ(Texts(s), Headings("2026"));
  for (const auto& t : s.texts) {
    EXPECT_EQ(t.h, HAlign::kRight) << t.text;
    EXPECT_EQ(t.v, VAlign::kTop) << t.text;
    EXPECT_EQ(t.font, FontSpec{}) << t.text;  // the system's text font
    EXPECT_EQ(t.color, kBlack) << t.text;
  }

  preview.choice.year.previousServiceYear = true;
  RecordingSurface grey(96, 96);
  Draw(grey, d.data, preview);
  EXPECT_EQ(Texts(grey), Headings("2025"));
  for (const auto& t : grey.texts) EXPECT_EQ(t.color, kGrey) << t.text;
}

TEST(MonthlyPreview, ColumnsOfEachFormAndTheGreekRemarksTitle) {
  test::LoadedCongregation d(tools::Congregation{});
  struct Case {
    bool newForm;
    std::string language;
    std::vector<Drawn> titles;  // the value titles, then "Megjegyzés"
    std::vector<int> verticals;
  } cases[] = {
      {true,
       "hun",
       {{"Terj", 90, 22},
        {"Vid", 134, 22},
        {"Óra", 178, 22},
        {"UL", 222, 22},
        {"Bt", 266, 22},
        {"Megjegyzés", 360, 22}},
       {54, 98, 142, 186, 230, 274}},
      {true,
       "greek",
       {{"Terj", 90, 22},
        {"Vid", 134, 22},
        {"Óra", 178, 22},
        {"UL", 222, 22},
        {"Bt", 266, 22},
        {"Megjegyzés", 385, 22}},
       {54, 98, 142, 186, 230, 274}},
      {false,
       "greek",
       {{"Könyv", 82, 22},
        {"Füzet", 122, 22},
        {"Óra", 162, 22},
        {"Folyóirat", 206, 22},
        {"UL", 242, 22},
        {"BibliaT", 282, 22},
        {"Megjegyzés", 390, 22}},
       {50, 90, 130, 170, 210, 250, 290}},
  };
  for (const auto& c : cases) {
    Preview preview = Input(kAugust);
    preview.choice.slot = 0;
    preview.choice.newForm = c.newForm;
    preview.input.languageCode = c.language;
    RecordingSurface s(96, 96);
    Draw(s, d.data, preview);
    std::vector<Drawn> texts = Texts(s);
    texts.resize(c.titles.size());
    EXPECT_EQ(texts, c.titles) << c.newForm << c.language;
    std::vector<int> verticals;
    for (const auto& l : s.lines)
      if (l.x1 == l.x2) verticals.push_back(l.x1);
    EXPECT_EQ(verticals, c.verticals) << c.newForm << c.language;
  }
}

TEST(MonthlyPreview, YearOfTheHeading) {
  test::LoadedCongregation d(tools::Congregation{});
  struct Case {
    int reportMonth;
    bool previousServiceYear;
    const char* year;
  } cases[] = {
      {kAugust, false, "2026"},  {kAugust, true, "2025"},     {kDecember, false, "2026"},
      {kDecember, true, "2025"}, {kSeptember, false, "2027"}, {kSeptember, true, "2026"},
      {kOctober, false, "2027"}, {0, true, "2025"},
  };
  for (const auto& c : cases) {
    RecordingSurface s(96, 96);
    Draw(s, d.data, Input(c.reportMonth, c.previousServiceYear));
    const auto* year = s.texts.size() > 7 ? &s.texts[7] : nullptr;
    ASSERT_NE(year, nullptr);
    EXPECT_EQ(year->text, c.year) << c.reportMonth << " " << c.previousServiceYear;
  }
}

// Values end at 10 + 40 (g + 2) - 10 on the old form: column g = 2 (hours) at 160.
TEST(MonthlyPreview, SeptemberReportShowsOnlySeptemberWithItsClippedRemark) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  auto& months = c.current.publishers[0].months;
  for (int m = 0; m < 12; ++m) months[m].hours = 10 + m;
  months[kSeptember] = {
      .hours = 0, .returnVisits = 4, .quarters = 3, .pioneer = Pioneer::kAuxiliary};
  c.remarks = {{kSeptember + 1, kId, "Egy nagyon hosszú megjegyzés szöveg"}};
  test::LoadedCongregation d(c);
  Preview preview = Input(kSeptember);
  preview.input.monthRow.fill(true);

  RecordingSurface s(96, 96);
  Draw(s, d.data, preview);
  std::vector<Drawn> expected = Headings("2027");
  const std::vector<Drawn> september = {
      {"0.75", 160, 42},
      {"4", 240, 42},
      {"Kisegítő úttörő Egy nagyon hosszú megjegyzés szöveg", 292, 42}};
  expected.insert(expected.begin() + 9, september.begin(), september.end());
  // The totals of the one elapsed month, every column written.
  const std::vector<Drawn> totals = {{"0", 80, 282},  {"0", 120, 282}, {"0.75", 160, 282},
                                     {"0", 200, 282}, {"4", 240, 282}, {"0", 280, 282}};
  expected.insert(expected.end(), totals.begin(), totals.end());
  EXPECT_EQ(Texts(s), expected);

  const auto* remark = &s.texts[11];
  EXPECT_EQ(remark->h, HAlign::kLeft);
  EXPECT_EQ(remark->clip, (Rect{292, 42, 410, 62}));  // to the right edge, one row down
  EXPECT_EQ(s.texts[12].clip, std::nullopt);
  EXPECT_EQ(s.texts.back().color, kGrey);  // totals not to be printed
}

// Text measured as a screen font measures it: about 7 pixels a character at 8 points.
class ScreenWidthSurface : public RecordingSurface {
 public:
  ScreenWidthSurface() : RecordingSurface(96, 96) {}
  int TextWidth(std::string_view text) override {
    int characters = 0;
    for (unsigned char ch : text) characters += (ch & 0xC0) != 0x80;
    return 7 * characters;
  }
};

// The ledger's marks stand in free space: they cover no month name, no "Összes" and no figure,
// on either form at the window's size; a changed row's figures keep the colour of their box, and
// only the "!" is in the warning colour.
TEST(MonthlyPreview, LedgerMarksCoverNothingAndLeaveTheFiguresColourToTheBox) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  for (auto& month : c.current.publishers[0].months) {
    month.books = 123;
    month.hours = 15;
  }
  // Last service year's card: there an unticked row is grey, a ticked one black.
  c.previous.emplace();
  c.previous->publishers = c.current.publishers;
  test::LoadedCongregation d(c);
  const Rect window{0, 0, 480, 224};  // rows of 16
  for (bool newForm : {false, true}) {
    SCOPED_TRACE(newForm ? "new form" : "old form");
    Preview preview = Input(kOctober, true);
    preview.choice.newForm = newForm;
    preview.input.ledger.rows = {LedgerMark::kOnCard, LedgerMark::kChanged, LedgerMark::kChanged};
    preview.input.ledger.total = LedgerMark::kChanged;
    preview.input.monthRow[2] = true;  // November changed and ticked; October changed, unticked

    ScreenWidthSurface s;
    DrawMonthlyPreview(s, window, BuildCardContent(d.data, preview.choice), preview.input, kBx,
                       kBy);
    // Drawn as strokes (no font has to hold them), in the order of the rows: the total's last.
    ASSERT_EQ(s.marks.size(), 4u);
    EXPECT_EQ(s.marks[0].mark, kOnCardMark);
    for (std::size_t i = 1; i < s.marks.size(); ++i) EXPECT_EQ(s.marks[i].mark, kChangedMark);
    constexpr int kRow = 16;
    for (const auto& mark : s.marks) {
      EXPECT_EQ(mark.color, mark.mark == kChangedMark ? kLedgerWarning : kBlack);
      const Rect& box = mark.box;
      EXPECT_GT(box.right - box.left, 2);
      EXPECT_GT(box.bottom - box.top, kRow / 2);
      EXPECT_EQ(box.top / kRow, (box.bottom - 1) / kRow) << "within one row";
      for (const auto& other : s.texts) {
        if (other.y >= box.bottom || other.y + kRow <= box.top) continue;  // another row
        const int width = s.TextWidth(other.text);
        const int l = other.h == HAlign::kRight ? other.x - width : other.x;
        EXPECT_TRUE(box.right <= l || l + width <= box.left) << "over \"" << other.text << "\"";
      }
    }
    for (const auto& other : s.texts) {
      if (other.text != "123") continue;
      EXPECT_EQ(other.color, other.y == 3 * kRow + kBy ? kBlack : kGrey) << other.y;
    }
    EXPECT_EQ(s.texts.back().color, kGrey);  // the totals' box is not ticked
  }
}

TEST(MonthlyPreview, PreviousYearShowsEveryRowGreyUnlessItsBoxIsChecked) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  c.previous.emplace();
  c.previous->publishers = {Anna()};
  for (int m = 0; m < 12; ++m) {
    c.current.publishers[0].months[m].hours = 10 + m;
    c.previous->publishers[0].months[m].hours = 50 + m;
  }
  test::LoadedCongregation d(c);
  Preview preview = Input(kOctober, true);
  preview.input.monthRow[2] = true;  // November
  preview.input.printTotal = true;

  RecordingSurface s(96, 96);
  Draw(s, d.data, preview);
  std::vector<std::pair<std::string, Color>> hours;
  for (const auto& t : s.texts)
    if (t.x == 160) hours.push_back({t.text, t.color});
  // September and October from last year's file, November and December still in this one.
  const std::vector<std::pair<std::string, Color>> expected = {
      {"58", kGrey}, {"59", kGrey}, {"20", kBlack}, {"21", kGrey}, {"50", kGrey},
      {"51", kGrey}, {"52", kGrey}, {"53", kGrey},  {"54", kGrey}, {"55", kGrey},
      {"56", kGrey}, {"57", kGrey}, {"586", kBlack}};
  EXPECT_EQ(hours, expected);
}

TEST(MonthlyPreview, NewFormShowsOldFormMonthsAsPlacementsWithoutVideos) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  auto& months = c.current.publishers[0].months;
  months[kSeptember] = {.hours = 3, .books = 1, .brochures = 2, .magazines = 5};
  months[kOctober] = {.newForm = true, .hours = 1, .placements = 9, .videoShowings = 2};
  test::LoadedCongregation d(c);
  Preview preview = Input(kOctober);
  preview.choice.newForm = true;

  RecordingSurface s(96, 96);
  Draw(s, d.data, preview);
  std::vector<Drawn> values;
  for (const auto& t : s.texts)
    if (t.y == 42 || t.y == 62) values.push_back({t.text, t.x, t.y});
  // New-form value column g ends at 10 + 44 (g + 2) - 10.
  EXPECT_EQ(values, (std::vector<Drawn>{{"Szept", 42, 42},
                                        {"8", 88, 42},
                                        {"3", 176, 42},
                                        {"Okt", 42, 62},
                                        {"9", 88, 62},
                                        {"2", 132, 62},
                                        {"1", 176, 62}}));
}

// The session started on a written folder; card version 0 is the new form in this edition.
TEST(SessionMonthlyPreview, DrawsWhatTheWindowChose) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  c.current.publishers[0].months[kSeptember].hours = 7;
  test::TempDir dir;
  tools::WriteCongregation(c, dir.path());
  test::NoQuestions prompts;
  Session session({dir / "velunorh.INI", dir.path(), dir / "floppy"}, prompts);
  ASSERT_EQ(session.StartUp(ServiceYear::FromDate(2026, 10)), SessionStatus::kRunning);
  ASSERT_TRUE(session.newForm());
  session.ChoosePublisher(1);
  session.SetMonthRow(0, true);
  session.SetPrintTotal(true);

  const MonthlyPreviewInput input = session.MonthlyPreview();
  EXPECT_EQ(input.languageCode, session.languageCode());
  RecordingSurface s(96, 96);
  DrawMonthlyPreview(s, kClient, session.Content(), input, kBx, kBy);
  // The new form's remark title, placed for this edition's language (not greek).
  ASSERT_EQ(session.languageCode(), "hun");
  EXPECT_EQ(Texts(s)[5], (Drawn{"Megjegyzés", 360, 22}));
  EXPECT_EQ(Texts(s)[6], (Drawn{"2027", 42, 22}));
  const auto* hours = s.Find("7");
  ASSERT_NE(hours, nullptr);
  EXPECT_EQ((Drawn{hours->text, hours->x, hours->y}), (Drawn{"7", 176, 42}));
  EXPECT_EQ(s.texts.back().color, kBlack);  // the total, to be printed
}

}  // namespace
}  // namespace velunorh
