#include "card/grid_texts.h"

#include <gtest/gtest.h>

namespace velunorh {
namespace {

// Each form titles its columns from its own run; a kind the form lacks has no title rather than
// the title of whatever entry lies next to the run.
TEST(GridTexts, ColumnTitlesFollowTheForm) {
  struct Case {
    ValueKind kind;
    bool newForm;
    const char* title;
  } cases[] = {
      {ValueKind::Books, false, "Könyv"},    {ValueKind::Magazines, false, "Folyóirat"},
      {ValueKind::Hours, false, "Óra"},      {ValueKind::BibleStudies, false, "BibliaT"},
      {ValueKind::Placements, false, ""},    {ValueKind::HourQuarters, false, ""},
      {ValueKind::Placements, true, "Terj"}, {ValueKind::Hours, true, "Óra"},
      {ValueKind::BibleStudies, true, "Bt"}, {ValueKind::Books, true, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GridColumnTitle(c.kind, c.newForm), c.title)
        << static_cast<int>(c.kind) << " " << c.newForm;
}

TEST(GridTexts, MonthsAndQuartersStayInTheirRuns) {
  EXPECT_EQ(GridMonthName(0), "Jan");
  EXPECT_EQ(GridMonthName(2), "Márc");
  EXPECT_EQ(GridMonthName(11), "Dec");
  EXPECT_EQ(GridMonthName(12), "");  // the next entry is a card version's flag
  EXPECT_EQ(QuarterHourText(1), ".25");
  EXPECT_EQ(QuarterHourText(3), ".75");
  EXPECT_EQ(QuarterHourText(4), "");  // the next entry is a setting
  EXPECT_EQ(QuarterHourText(0), "");
}

}  // namespace
}  // namespace velunorh
