#include "card/monthly_grid_pass.h"

#include <gtest/gtest.h>

#include <map>

#include "base/edition.h"
#include "card/card_content.h"
#include "card/recording_surface.h"
#include "loaded_congregation.h"
#include "no_questions.h"
#include "session/session.h"

namespace velunorh {
namespace {

using tools::MonthReport;
using tools::Pioneer;

constexpr int kJanuary = 0, kFebruary = 1, kMarch = 2, kAugust = 7, kSeptember = 8, kOctober = 9,
              kNovember = 10, kDecember = 11;
constexpr std::uint16_t kId = 20;

tools::Publisher Anna() {
  tools::Publisher p;
  p.id = kId;
  p.givenName = "Anna";
  p.familyName = "Kiss";
  return p;
}

CardLayout TestLayout() {
  CardLayout layout;
  const char* body[] = {"1.30", "2.17", "1.00", "1.55", "2.05", "2.60", "3.20", "3.70", "4.20"};
  for (int j = 0; j < kBodyValueCount; ++j) layout.SetBody(static_cast<BodyValue>(j), body[j]);
  return layout;
}

// The card's choice and where the grid prints.
struct Grid {
  CardChoice choice;
  MonthlyGridInput input;
};

Grid TestGrid(int reportMonth, bool previousServiceYear = false) {
  Grid grid;
  grid.choice.slot = 1;
  grid.choice.year = {reportMonth, 2026, previousServiceYear};
  grid.input.monthRow.fill(true);
  grid.input.leftMargin = "0.30";
  grid.input.topMargin = "0.20";
  grid.input.layout = TestLayout();
  return grid;
}

struct Cell {
  std::string text;
  int x, y;
  HAlign h = HAlign::kRight;
  bool operator==(const Cell&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Cell& c) {
  return os << "\"" << c.text << "\" at " << c.x << "," << c.y
            << (c.h == HAlign::kLeft ? " left" : " right");
}

std::vector<Cell> Cells(const RecordingSurface& surface) {
  std::vector<Cell> cells;
  for (const auto& t : surface.texts) {
    EXPECT_EQ(t.v, VAlign::kTop);
    cells.push_back({t.text, t.x, t.y, t.h});
  }
  return cells;
}

std::vector<Cell> Print(CongregationData& data, const Grid& grid, int hres = 300, int vres = 300) {
  RecordingSurface surface(hres, vres);
  PrintMonthlyGrid(surface, BuildCardContent(data, grid.choice), grid.input);
  return Cells(surface);
}

// At 300 dots per inch with margins 0.30 / 0.20: grid top 450, rows 651 / 12 = 54 apart,
// columns at 390, 555, 705, 870, 1050, 1200 and the remark at 1350.
constexpr int kTop = 450, kRow = 54;
constexpr int kColumn[] = {390, 555, 705, 870, 1050, 1200, 1350};

// Which rows print and what their Hours cell says, read back from the positions.
std::map<int, std::string> HoursByRow(const std::vector<Cell>& cells) {
  std::map<int, std::string> rows;
  for (const auto& c : cells)
    if (c.x == kColumn[2]) rows[(c.y - kTop) / kRow] = c.text;
  return rows;
}

TEST(MonthlyGrid, CellsRemarkAndTotalsSitAtTheirColumnsAndRowsAtEachResolution) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  c.current.publishers[0].months[kOctober] = {.hours = 3,
                                              .returnVisits = 6,
                                              .bibleStudies = 7,
                                              .pioneer = Pioneer::kAuxiliary,
                                              .books = 1,
                                              .subscriptions = 4,
                                              .magazines = 5};
  c.remarks = {{kOctober + 1, kId, "Csoportban"}};
  test::LoadedCongregation d(c);
  Grid grid = TestGrid(kOctober);
  grid.input.printTotal = true;
  grid.input.fontCharset = 238;
  const CardContent card = BuildCardContent(d.data, grid.choice);

  struct Resolution {
    int hres, vres, font;
    std::vector<int> x;  // columns 1-7
    int october, total;  // row y
  } resolutions[] = {
      {300, 300, 42, {390, 555, 705, 870, 1050, 1200, 1350}, 504, 1098},
      {600, 600, 83, {780, 1110, 1410, 1740, 2100, 2400, 2700}, 1008, 2196},
      {600, 300, 42, {780, 1110, 1410, 1740, 2100, 2400, 2700}, 504, 1098},
  };
  for (const auto& r : resolutions) {
    const auto& x = r.x;
    // Brochures 0 print nothing, Subscriptions never; Magazines go to the fourth column.
    const std::vector<Cell> expected = {
        {"1", x[0], r.october}, {"3", x[2], r.october},
        {"5", x[3], r.october}, {"6", x[4], r.october},
        {"7", x[5], r.october}, {"Kisegítő úttörő Csoportban", x[6], r.october, HAlign::kLeft},
        {"1", x[0], r.total},   {"0", x[1], r.total},
        {"3", x[2], r.total},   {"5", x[3], r.total},
        {"6", x[4], r.total},   {"7", x[5], r.total},
    };
    RecordingSurface surface(r.hres, r.vres);
    PrintMonthlyGrid(surface, card, grid.input);
    EXPECT_EQ(Cells(surface), expected) << r.hres << "x" << r.vres;
    for (const auto& t : surface.texts) {
      EXPECT_EQ(t.font, (FontSpec{"Arial", r.font, 400, 238}));
      EXPECT_EQ(t.color, kBlack);
    }
  }
}

TEST(MonthlyGrid, NewFormShowsOldFormMonthsAsPlacementsWithoutVideos) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  auto& months = c.current.publishers[0].months;
  months[kSeptember] = {.newForm = true, .hours = 1, .placements = 9, .videoShowings = 2};
  months[kOctober] = {.hours = 3,
                      .returnVisits = 6,
                      .bibleStudies = 7,
                      .books = 1,
                      .brochures = 2,
                      .subscriptions = 4,
                      .magazines = 5};
  test::LoadedCongregation d(c);
  Grid grid = TestGrid(kOctober);
  grid.choice.newForm = true;
  const int sep = kTop, oct = kTop + kRow;
  EXPECT_EQ(Print(d.data, grid), (std::vector<Cell>{{"9", kColumn[0], sep},
                                                    {"2", kColumn[1], sep},
                                                    {"1", kColumn[2], sep},
                                                    {"8", kColumn[0], oct},
                                                    {"3", kColumn[2], oct},
                                                    {"6", kColumn[3], oct},
                                                    {"7", kColumn[4], oct}}));
}

// Hours 10 + m in the running year's file and 50 + m in the previous year's, for every month.
tools::Congregation HoursEveryMonth() {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  c.previous.emplace();
  c.previous->publishers = {Anna()};
  for (int m = 0; m < 12; ++m) {
    c.current.publishers[0].months[m].hours = 10 + m;
    c.previous->publishers[0].months[m].hours = 50 + m;
  }
  return c;
}

TEST(MonthlyGrid, RowsFollowTheServiceYearModeAndTheirBoxes) {
  test::LoadedCongregation d(HoursEveryMonth());
  struct Case {
    const char* what;
    int reportMonth;
    bool previousServiceYear;
    std::vector<int> checkedRows;  // empty = all
    std::map<int, std::string> rows;
  } cases[] = {
      {"October: September and October", kOctober, false, {}, {{0, "18"}, {1, "19"}}},
      {"October, one box", kOctober, false, {1, 5}, {{1, "19"}}},
      {"October, previous year: November to August",
       kOctober,
       true,
       {},
       {{2, "20"},
        {3, "21"},
        {4, "50"},
        {5, "51"},
        {6, "52"},
        {7, "53"},
        {8, "54"},
        {9, "55"},
        {10, "56"},
        {11, "57"}}},
      {"October, previous year, only its own boxes", kOctober, true, {0, 1}, {}},
      {"December: four rows", kDecember, false, {}, {{0, "18"}, {1, "19"}, {2, "20"}, {3, "21"}}},
      {"August: the whole year",
       kAugust,
       false,
       {},
       {{0, "18"},
        {1, "19"},
        {2, "20"},
        {3, "21"},
        {4, "10"},
        {5, "11"},
        {6, "12"},
        {7, "13"},
        {8, "14"},
        {9, "15"},
        {10, "16"},
        {11, "17"}}},
  };
  for (const auto& c : cases) {
    Grid grid = TestGrid(c.reportMonth, c.previousServiceYear);
    if (!c.checkedRows.empty()) {
      grid.input.monthRow.fill(false);
      for (int row : c.checkedRows) grid.input.monthRow[row] = true;
    }
    EXPECT_EQ(HoursByRow(Print(d.data, grid)), c.rows) << c.what;
  }
}

TEST(MonthlyGrid, HoursWithQuartersOnBothForms) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  auto& months = c.current.publishers[0].months;
  months[kSeptember] = {.hours = 12, .quarters = 2};
  months[kOctober] = {.hours = 0, .quarters = 3};
  months[kNovember] = {.hours = 12, .quarters = 3};
  months[kDecember] = {.hours = 12};
  months[kJanuary] = {.newForm = true, .hours = 0, .quarters = 2};
  test::LoadedCongregation d(c);
  const std::map<int, std::string> expected = {
      {0, "12.5"}, {1, "0.75"}, {2, "12.75"}, {3, "12"}, {4, "0.5"}};
  for (bool newForm : {false, true}) {
    Grid grid = TestGrid(kFebruary);
    grid.choice.newForm = newForm;
    const auto cells = Print(d.data, grid);
    EXPECT_EQ(cells.size(), expected.size()) << newForm;
    EXPECT_EQ(HoursByRow(cells), expected) << newForm;
  }
}

// A previous-year January whose year mark is not last year's is stale data: the new form shows
// none of it, its quarter hours included; the old form reads the record as it is.
TEST(MonthlyGrid, NewFormHidesAStalePreviousYearMonthWhole) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  c.previous.emplace();
  c.previous->yearMarks.fill(24);  // 2026 wants 25
  c.previous->publishers = {Anna()};
  c.previous->publishers[0].months[kJanuary] = {.hours = 12, .returnVisits = 3, .quarters = 2};
  c.previous->publishers[0].months[kMarch] = {.hours = 1, .quarters = 1};
  test::LoadedCongregation d(c);
  const int january = kTop + 4 * kRow, march = kTop + 6 * kRow, total = kTop + 12 * kRow;
  struct Case {
    bool newForm;
    std::vector<Cell> cells;
  } cases[] = {
      {true,
       {{"1.25", kColumn[2], march},
        {"0", kColumn[0], total},
        {"0", kColumn[1], total},
        {"1.25", kColumn[2], total},
        {"0", kColumn[3], total},
        {"0", kColumn[4], total}}},
      {false,
       {{"12.5", kColumn[2], january},
        {"3", kColumn[4], january},
        {"1.25", kColumn[2], march},
        {"0", kColumn[0], total},
        {"0", kColumn[1], total},
        {"13.75", kColumn[2], total},
        {"0", kColumn[3], total},
        {"3", kColumn[4], total},
        {"0", kColumn[5], total}}},
  };
  for (const auto& k : cases) {
    Grid grid = TestGrid(kOctober, true);
    grid.choice.newForm = k.newForm;
    grid.input.printTotal = true;
    EXPECT_EQ(Print(d.data, grid), k.cells) << k.newForm;
  }
}

TEST(MonthlyGrid, RemarksWithTheAuxiliaryPioneerText) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  auto& months = c.current.publishers[0].months;
  months[kSeptember] = {.pioneer = Pioneer::kAuxiliary};
  months[kOctober] = {.pioneer = Pioneer::kRegular};
  months[kJanuary] = {.pioneer = Pioneer::kAuxiliary};
  c.remarks = {{kNovember + 1, kId, "Beteg volt"},
               {kJanuary + 1, kId, "Mostani jegyzet"},
               {kOctober + 1, 10, "Senkié"}};
  c.previous.emplace();
  c.previous->publishers = {Anna()};
  c.previousRemarks = {{kJanuary + 1, kId, "Tavalyi jegyzet"}};
  test::LoadedCongregation d(c);

  const int remarkX = kColumn[6];
  auto row = [](int r) { return kTop + r * kRow; };
  EXPECT_EQ(
      Print(d.data, TestGrid(kJanuary)),
      (std::vector<Cell>{{"Kisegítő úttörő ", remarkX, row(0), HAlign::kLeft},
                         {"Beteg volt", remarkX, row(2), HAlign::kLeft},
                         {"Kisegítő úttörő Mostani jegyzet", remarkX, row(4), HAlign::kLeft}}));
  // In previous-year mode January's remark comes from the previous year's file.
  EXPECT_EQ(
      Print(d.data, TestGrid(kOctober, true)),
      (std::vector<Cell>{{"Beteg volt", remarkX, row(2), HAlign::kLeft},
                         {"Kisegítő úttörő Tavalyi jegyzet", remarkX, row(4), HAlign::kLeft}}));
}

TEST(MonthlyGrid, TotalRowOnlyOnRequest) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  auto& months = c.current.publishers[0].months;
  months[kJanuary] = {.hours = 10, .quarters = 1};
  months[kFebruary] = {.hours = 10, .quarters = 2};
  months[kMarch] = {.hours = 10, .quarters = 3};
  test::LoadedCongregation d(c);
  const int totalY = kTop + 12 * kRow;  // 1098, not 450 + 651
  auto totals = [&](bool printTotal) {
    Grid grid = TestGrid(kAugust);
    grid.input.printTotal = printTotal;
    std::vector<Cell> row;
    for (const auto& cell : Print(d.data, grid))
      if (cell.y == totalY) row.push_back(cell);
    return row;
  };
  EXPECT_EQ(totals(false), (std::vector<Cell>{}));
  // Six quarters: one more whole hour and a half.
  EXPECT_EQ(totals(true), (std::vector<Cell>{{"0", kColumn[0], totalY},
                                             {"0", kColumn[1], totalY},
                                             {"31.5", kColumn[2], totalY},
                                             {"0", kColumn[3], totalY},
                                             {"0", kColumn[4], totalY},
                                             {"0", kColumn[5], totalY}}));
}

TEST(MonthlyGrid, NothingWithoutAPublisher) {
  test::LoadedCongregation d(HoursEveryMonth());
  Grid grid = TestGrid(kAugust);
  grid.input.printTotal = true;
  for (int slot : {0, -1, 2}) {
    grid.choice.slot = slot;
    EXPECT_TRUE(Print(d.data, grid).empty()) << slot;
  }
}

// The session started on a written folder: the data, the settings and the layout file of card
// version 0, the new form in this edition.
TEST(SessionMonthlyGrid, PrintsWhatTheWindowChose) {
  tools::Congregation c;
  c.current.publishers = {Anna()};
  c.current.publishers[0].months[kOctober] = {.hours = 4, .books = 2, .brochures = 3};
  test::TempDir dir;
  tools::WriteCongregation(c, dir.path());
  ASSERT_TRUE(SaveLayout(TestLayout(), dir.path(), 0));
  test::WriteText(dir / "velunorh.INI", "[Margins]\nTop=0.20\nLeft=0.30\n");
  test::NoQuestions prompts;
  Session session({dir / "velunorh.INI", dir.path(), dir / "floppy"}, prompts);
  ASSERT_EQ(session.StartUp(ServiceYear::FromDate(2026, 11)), SessionStatus::kRunning);
  ASSERT_TRUE(session.newForm());
  session.ChoosePublisher(1);
  session.SetMonthRow(1, true);
  session.SetPrintTotal(true);

  const MonthlyGridInput input = session.MonthlyGrid();
  EXPECT_EQ(input.leftMargin, "0.30");
  EXPECT_EQ(input.topMargin, "0.20");
  EXPECT_EQ(input.layout, TestLayout());
  EXPECT_TRUE(input.printTotal);
  RecordingSurface surface(300, 300);
  PrintMonthlyGrid(surface, session.Content(), input);
  const int october = kTop + kRow, total = kTop + 12 * kRow;
  EXPECT_EQ(Cells(surface), (std::vector<Cell>{{"5", kColumn[0], october},
                                               {"4", kColumn[2], october},
                                               {"5", kColumn[0], total},
                                               {"0", kColumn[1], total},
                                               {"4", kColumn[2], total},
                                               {"0", kColumn[3], total},
                                               {"0", kColumn[4], total}}));
  // The edition's character set: the string table fixes the language.
  EXPECT_EQ(surface.texts.at(0).font.charset, FontCharset(session.languageCode()));
}

}  // namespace
}  // namespace velunorh
