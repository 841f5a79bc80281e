#include "card/calibration_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <set>
#include <tuple>

#include "base/string_table.h"
#include "card/header_block_pass.h"
#include "card/monthly_grid_pass.h"
#include "card/recording_surface.h"

namespace velunorh {
namespace {

using P = HeaderPosition;
using B = BodyValue;

struct Point {
  int x, y;
  auto operator<=>(const Point&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Point& p) {
  return os << "(" << p.x << "," << p.y << ")";
}

CalibrationNames TestNames() {
  CalibrationNames names;
  for (int i = 0; i < kHeaderPositionCount; ++i) names.header[i] = "h" + std::to_string(i);
  const char* body[] = {"top", "height", "c1", "c2", "c3", "c4", "c5", "c6", "c7"};
  for (int j = 0; j < kBodyValueCount; ++j) names.body[j] = body[j];
  return names;
}

// Header X/Y in the order of HeaderPosition, then the nine body values. The anointed answer's
// own Y differs from the immersion date's, so printing it at the wrong line shows.
CardLayout MakeLayout(const char* const (&header)[12][2], const char* const (&body)[9]) {
  CardLayout layout;
  for (int i = 0; i < kHeaderPositionCount; ++i) {
    layout.SetX(static_cast<P>(i), header[i][0]);
    layout.SetY(static_cast<P>(i), header[i][1]);
  }
  for (int j = 0; j < kBodyValueCount; ++j) layout.SetBody(static_cast<B>(j), body[j]);
  return layout;
}

// The crosses on the sheet: a horizontal and a vertical line of 0.1 inch that share their
// middle point.
std::multiset<Point> Crosses(const RecordingSurface& surface) {
  const int armX = surface.HorizontalResolution() * 5 / 100;
  const int armY = surface.VerticalResolution() * 5 / 100;
  std::multiset<Point> across, crosses;
  for (const auto& l : surface.lines)
    if (l.y1 == l.y2 && std::abs(l.x2 - l.x1) == 2 * armX) across.insert({(l.x1 + l.x2) / 2, l.y1});
  for (const auto& l : surface.lines) {
    if (l.x1 != l.x2 || std::abs(l.y2 - l.y1) != 2 * armY) continue;
    const Point middle{l.x1, (l.y1 + l.y2) / 2};
    if (auto at = across.find(middle); at != across.end()) {
      crosses.insert(middle);
      across.erase(at);
    }
  }
  return crosses;
}

struct Expected {
  std::string label;
  Point centre;
};

struct Case {
  const char* what;
  int hres, vres;
  const char* left;
  const char* top;
  CardLayout layout;
  CalibrationNames names;
  std::vector<Expected> crosses;     // in device units
  std::vector<std::string> unnamed;  // names that must not appear
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  {
    // The first version's defaults, 300 dpi, margins 0.30 across and 0.15 down.
    Case c{"defaults at 300 dpi", 300, 300, "0.30", "0.15", {}, TestNames(), {}, {}};
    const char* const header[12][2] = {{"0.30", "0.22"}, {"0.50", "0.38"}, {"0.80", "0.57"},
                                       {"2.50", "0.57"}, {"4.35", "0.57"}, {"1.15", "0.81"},
                                       {"3.35", "0.95"}, {"4.25", "0.75"}, {"4.25", "0.86"},
                                       {"4.65", "0.75"}, {"5.30", "0.00"}, {"5.30", "0.10"}};
    const char* const body[9] = {"1.30", "2.16", "1.00", "1.55", "2.05",
                                 "2.60", "3.20", "3.40", "3.60"};
    c.layout = MakeLayout(header, body);
    // Hundredths of an inch from the page's origin: the margin plus the layout value.
    auto at = [](int x, int y) { return Point{x * 3, y * 3}; };
    c.crosses = {
        {"h0", at(60, 37)},   {"h1", at(80, 53)},  {"h2", at(110, 72)},  {"h3", at(280, 72)},
        {"h4", at(465, 72)},  {"h5", at(145, 96)}, {"h6", at(365, 96)},  {"h7", at(455, 90)},
        {"h8", at(455, 101)}, {"h9", at(495, 90)}, {"h10", at(560, 15)}, {"h11", at(560, 25)},
        {"top", at(30, 145)},
    };
    // Rows of 2.16 / 12 = 0.18 inch: the total row is 2.16 below the first.
    const int columns[] = {130, 185, 235, 290, 350, 370, 390};
    for (int g = 0; g < 7; ++g) {
      const std::string name = "c" + std::to_string(g + 1);
      c.crosses.push_back({name, at(columns[g], 145)});
      c.crosses.push_back({name, {columns[g] * 3, 435 + 648}});
    }
    cases.push_back(c);
  }
  {
    // Unequal resolutions, a row height that does not divide evenly, the new card without a
    // sixth column, and the male box switched off with X 0.
    Case c{"600 x 300 dpi, new card", 600, 300, "0.45", "0.05", {}, TestNames(), {}, {}};
    c.names.body[static_cast<int>(B::GridColumn6)] = "";
    c.unnamed = {"c6", "h10"};
    const char* const header[12][2] = {{"0.31", "0.21"}, {"0.62", "0.40"}, {"0.62", "0.55"},
                                       {"1.65", "0.55"}, {"3.75", "0.55"}, {"0.80", "0.80"},
                                       {"3.60", "1.10"}, {"4.35", "0.74"}, {"4.35", "0.87"},
                                       {"4.85", "0.74"}, {"0.00", "0.02"}, {"5.29", "0.12"}};
    const char* const body[9] = {"1.32", "1.99", "0.62", "1.17", "1.75",
                                 "2.25", "2.75", "3.25", "3.38"};
    c.layout = MakeLayout(header, body);
    auto at = [](int x, int y) { return Point{x * 6, y * 3}; };
    c.crosses = {
        {"h0", at(76, 26)},  {"h1", at(107, 45)}, {"h2", at(107, 60)},  {"h3", at(210, 60)},
        {"h4", at(420, 60)}, {"h5", at(125, 85)}, {"h6", at(405, 85)},  {"h7", at(480, 79)},
        {"h8", at(480, 92)}, {"h9", at(530, 79)}, {"h11", at(574, 17)}, {"top", at(45, 137)},
    };
    // 1.99 inch is 597 dots down; a row is 597 / 12 = 49 of them, so the total row lies 588
    // below the first, not 597.
    const int columns[] = {107, 162, 220, 270, 320, 0, 383};
    for (int g = 0; g < 7; ++g) {
      if (g == 5) continue;
      const std::string name = "c" + std::to_string(g + 1);
      c.crosses.push_back({name, at(columns[g], 137)});
      c.crosses.push_back({name, {columns[g] * 6, 411 + 588}});
    }
    cases.push_back(c);
  }
  return cases;
}

RecordingSurface Print(const Case& c) {
  RecordingSurface surface(c.hres, c.vres);
  PrintCalibrationSheet(surface,
                        {c.left, c.top, c.layout, c.names, "S-21", "velunorh-test", "2026.12.10."});
  return surface;
}

TEST(CalibrationSheetTest, EachCrossIsCentredOnItsItemAndNamedBesideIt) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    RecordingSurface surface = Print(c);
    std::multiset<Point> expected;
    for (const auto& e : c.crosses) expected.insert(e.centre);
    EXPECT_EQ(Crosses(surface), expected);

    // Each name lies within a quarter inch of its cross: beside it, not somewhere on the page.
    for (const auto& e : c.crosses) {
      bool beside = false;
      for (const auto& t : surface.texts) {
        beside |= t.text == e.label && std::abs(t.x - e.centre.x) <= c.hres / 4 &&
                  std::abs(t.y - e.centre.y) <= c.vres / 4;
      }
      EXPECT_TRUE(beside) << e.label << " at " << e.centre;
    }
    // A column the card version does not have and a switched-off box are not named at all.
    for (const auto& name : c.unnamed) EXPECT_EQ(surface.Find(name), nullptr) << name;
  }
}

// The card's own passes are the measure: wherever they print an item's text, a cross must be
// centred on the text's anchor.
TEST(CalibrationSheetTest, EveryAnchorOfAPrintedCardHasACross) {
  CardContent card;
  card.hasPublisher = true;
  card.displayName = "Szabó Béla";
  card.homeAddress = "Fő utca 1";
  card.homeTelephone = "1234";
  card.mobileTelephone = "5678";
  card.dateOfBirth = "03/02/1970";
  card.dateImmersed = "05/14/1995";
  card.baptized = card.anointed = card.elder = card.ministerialServant = true;
  card.regularPioneer = true;
  card.rows[0].printable = true;
  card.rows[0].remark = "Kisegítő";

  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    const bool newForm = c.names.body[static_cast<int>(B::GridColumn6)].empty();
    const std::size_t columns = newForm ? 5 : 6;
    card.rows[0].cells.assign(columns, "1");
    card.printedTotals.assign(columns, "2");
    const std::multiset<Point> crosses = Crosses(Print(c));

    RecordingSurface printed(c.hres, c.vres);
    for (SexMark sex : {SexMark::kMale, SexMark::kFemale}) {
      card.sex = sex;
      PrintHeaderBlock(printed, card, {true, true, c.left, c.top, c.layout});
    }
    MonthlyGridInput grid{{}, true, 0, c.left, c.top, c.layout};
    grid.monthRow[0] = true;
    PrintMonthlyGrid(printed, card, grid);

    ASSERT_GE(printed.texts.size(), 20u);
    for (const auto& t : printed.texts)
      EXPECT_TRUE(crosses.count({t.x, t.y})) << "\"" << t.text << "\" at " << Point{t.x, t.y};
  }
}

TEST(CalibrationSheetTest, RulersCountFromTheMarginsWithATickEveryTenthAndAFigureEveryInch) {
  const Case c = Cases()[1];  // 600 x 300 dpi, margins 0.45 across and 0.05 down
  RecordingSurface surface = Print(c);
  const int x0 = 270, y0 = 15;
  // The farthest cross lies 5.29 inches across and 3.28 down: the rulers reach an inch beyond,
  // the across ruler's line 5 inches down, the down ruler's line 7 inches across.
  const int acrossLine = y0 + 5 * 300, downLine = x0 + 7 * 600;
  auto has = [&](RecordingSurface::Line line) {
    return std::find(surface.lines.begin(), surface.lines.end(), line) != surface.lines.end();
  };
  // Ticks of 0.05, 0.10 at the half inch and 0.15 inch at the inch.
  for (int tenth = 0; tenth <= 70; ++tenth) {
    const int length = tenth % 10 == 0 ? 15 : tenth % 5 == 0 ? 10 : 5;
    EXPECT_TRUE(has({x0 + tenth * 60, acrossLine - length * 3, x0 + tenth * 60, acrossLine}))
        << tenth;
  }
  for (int tenth = 0; tenth <= 50; ++tenth) {
    const int length = tenth % 10 == 0 ? 15 : tenth % 5 == 0 ? 10 : 5;
    EXPECT_TRUE(has({downLine - length * 6, y0 + tenth * 30, downLine, y0 + tenth * 30})) << tenth;
  }
  EXPECT_FALSE(has({x0 + 71 * 60, acrossLine - 15, x0 + 71 * 60, acrossLine}));
  // Each inch's figure just beside its tick.
  auto figureAt = [&](int inch, int xLow, int yLow) {
    for (const auto& t : surface.texts)
      if (t.text == std::to_string(inch) && t.x > xLow && t.x < xLow + 60 && t.y > yLow &&
          t.y < yLow + 30)
        return true;
    return false;
  };
  for (int inch = 1; inch <= 7; ++inch)
    EXPECT_TRUE(figureAt(inch, x0 + inch * 600, acrossLine)) << "inch " << inch << " across";
  for (int inch = 1; inch <= 4; ++inch)
    EXPECT_TRUE(figureAt(inch, downLine, y0 + inch * 300)) << "inch " << inch << " down";
}

// The two reference points carry millimetre scales: a tick every half millimetre from -5 to
// +5 mm with the zero tick in line with the cross, a figure centred on every millimetre's tick,
// off the cross on the side away from the other items, and the point's number.
TEST(CalibrationSheetTest, ReferencePointsHaveMillimetreScales) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    RecordingSurface surface = Print(c);
    const Expected& name = c.crosses[0];  // h0, the name
    ASSERT_EQ(name.label, "h0");
    const Expected& remarks = c.crosses.back();  // c7 on the total row
    ASSERT_EQ(remarks.label, "c7");
    auto across = [&](double mm) { return static_cast<int>(std::lround(c.hres * mm / 25.4)); };
    auto down = [&](double mm) { return static_cast<int>(std::lround(c.vres * mm / 25.4)); };
    auto has = [&](RecordingSurface::Line line) {
      return std::find(surface.lines.begin(), surface.lines.end(), line) != surface.lines.end();
    };
    for (int point : {1, 2}) {
      SCOPED_TRACE(point);
      const Point cross = point == 1 ? name.centre : remarks.centre;
      const int side = point == 1 ? -1 : 1;
      const int acrossLine = cross.y + side * down(2), downLine = cross.x + side * across(7);
      EXPECT_TRUE(has({cross.x - across(5), acrossLine, cross.x + across(5), acrossLine}));
      EXPECT_TRUE(has({downLine, cross.y - down(5), downLine, cross.y + down(5)}));
      for (int half = -10; half <= 10; ++half) {
        const double length = half == 0 || std::abs(half) == 10 ? 1.8 : half % 2 ? 0.7 : 1.2;
        const int x = cross.x + across(half / 2.0), y = cross.y + down(half / 2.0);
        EXPECT_TRUE(has({x, acrossLine, x, acrossLine + side * down(length)})) << half;
        EXPECT_TRUE(has({downLine, y, downLine + side * across(length), y})) << half;
        if (half % 2) continue;
        int figures = 0;
        for (const auto& t : surface.texts) {
          if (t.text != std::to_string(std::abs(half / 2))) continue;
          // The recording surface's width: half an em per character.
          const int width = static_cast<int>(t.text.size()) * (t.font.emHeight / 2);
          const int middle = (t.h == HAlign::kRight ? t.x - width : t.x) + width / 2;
          figures += std::abs(middle - x) <= 1 && std::abs(t.y - acrossLine) < down(2.5);
          figures += std::abs(t.y + t.font.emHeight / 2 - y) <= 1 &&
                     std::abs(t.x - downLine) < across(2.5);
        }
        EXPECT_EQ(figures, 2) << half;
      }
      const auto number = std::find_if(surface.texts.begin(), surface.texts.end(), [&](auto& t) {
        return t.text == std::to_string(point) && t.font.emHeight == c.vres * 120 / 720;
      });
      ASSERT_NE(number, surface.texts.end());
      EXPECT_EQ(number->x, downLine);
      EXPECT_EQ(number->y, cross.y - side * down(7));
    }
  }
}

// An item at X or Y 0.00 sits on the margin line itself: no ruler line may come near a cross.
TEST(CalibrationSheetTest, NoRulerTouchesACross) {
  for (Case c : Cases()) {
    c.layout.SetY(P::Male, "0.00");
    c.layout.SetX(P::Name, "0.00");
    RecordingSurface surface = Print(c);
    const std::multiset<Point> crosses = Crosses(surface);
    ASSERT_FALSE(crosses.empty());
    const int armX = surface.HorizontalResolution() * 5 / 100;
    const int armY = surface.VerticalResolution() * 5 / 100;
    auto isArm = [&](const RecordingSurface::Line& l) {
      const Point middle{(l.x1 + l.x2) / 2, (l.y1 + l.y2) / 2};
      return crosses.count(middle) &&
             (std::abs(l.x2 - l.x1) == 2 * armX || std::abs(l.y2 - l.y1) == 2 * armY);
    };
    for (const auto& l : surface.lines) {
      if (isArm(l)) continue;
      for (const Point& cross : crosses) {
        const bool apart =
            std::max(l.x1, l.x2) < cross.x - armX || std::min(l.x1, l.x2) > cross.x + armX ||
            std::max(l.y1, l.y2) < cross.y - armY || std::min(l.y1, l.y2) > cross.y + armY;
        EXPECT_TRUE(apart) << "line (" << l.x1 << "," << l.y1 << ")-(" << l.x2 << "," << l.y2
                           << ") at the cross " << cross;
      }
    }
  }
}

// The sheet says what it was printed with, small, below the rulers.
TEST(CalibrationSheetTest, TheSheetNotesItsCardMarginsPrinterAndDate) {
  const Case c = Cases()[1];
  RecordingSurface surface = Print(c);
  const int acrossLine = 15 + 5 * 300;
  std::vector<std::string> below;
  for (const auto& t : surface.texts)
    if (t.y > acrossLine + 30) below.push_back(t.text);
  ASSERT_EQ(below.size(), 3u);
  EXPECT_NE(below[0].find("S-21"), std::string::npos) << below[0];
  EXPECT_NE(below[0].find(c.left), std::string::npos) << below[0];
  EXPECT_NE(below[0].find(c.top), std::string::npos) << below[0];
  EXPECT_NE(below[1].find("velunorh-test"), std::string::npos) << below[1];
  EXPECT_NE(below[1].find("2026.12.10."), std::string::npos) << below[1];
  EXPECT_EQ(below[2], LoadString(StringId::CalibSheetHowTo));
}

}  // namespace
}  // namespace velunorh
