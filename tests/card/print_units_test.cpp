#include "card/print_units.h"

#include <gtest/gtest.h>

#include "card/recording_surface.h"

namespace velunorh {
namespace {

TEST(PrintUnits, MarginsBecomeDotsOfTheirOwnDirection) {
  struct Case {
    int hres, vres;
    const char* left;
    const char* top;
    int leftDots, topDots;
  } cases[] = {
      {300, 300, "0.30", "0.30", 90, 90},
      {600, 600, "0.30", "0.30", 180, 180},
      {600, 300, "0.30", "0.30", 180, 90},  // the same inches on paper
      {300, 600, "0.00", "1.25", 0, 750},
  };
  for (const auto& c : cases) {
    RecordingSurface surface(c.hres, c.vres);
    PageUnits units = PageUnits::For(surface, c.left, c.top);
    EXPECT_EQ(units.left, c.leftDots) << c.hres << "x" << c.vres;
    EXPECT_EQ(units.top, c.topDots) << c.hres << "x" << c.vres;
    EXPECT_EQ(units.X("1.00"), c.leftDots + c.hres);
    EXPECT_EQ(units.Y("1.00"), c.topDots + c.vres);
  }
}

TEST(PrintUnits, HeaderFontTruncatesAndGridFontRounds) {
  struct Case {
    int vres, header, grid;
  } cases[] = {{600, 83, 83}, {300, 41, 42}, {96, 13, 13}, {72, 10, 10}};
  for (const auto& c : cases) {
    EXPECT_EQ(PointFont("Arial", 100, c.vres), (FontSpec{"Arial", c.header, 400, 0})) << c.vres;
    EXPECT_EQ(GridFontHeight(c.vres), c.grid) << c.vres;
  }
  EXPECT_EQ(PointFont("Arial", 85, 600).emHeight, 70);  // 8.5 points: 70.8 truncated
}

}  // namespace
}  // namespace velunorh
