#include "companion/month_values.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh {
namespace {

using tools::MonthReport;
using tools::Publisher;

// A December 2026 run: November is the last finished month.
const ServiceYear kDecember2026{10, 2026, false};
const ServiceYear kDecember2026PreviousYear{10, 2026, true};

struct Data {
  test::TempDir dir;
  CongregationData data{DataPaths{dir.path()}};

  explicit Data(const tools::Congregation& c) {
    tools::WriteCongregation(c, dir.path());
    EXPECT_TRUE(data.AllocateTables());
    bool stop = false;
    data.LoadAllData(stop);
  }
};

Publisher WithHours(std::uint16_t id, int base) {
  Publisher p;
  p.id = id;
  p.givenName = "Anna";
  for (int m = 0; m < 12; ++m) p.months[m].hours = base + m;
  return p;
}

// One publisher linked to the previous year; another whose file link names slot 1 but whose
// id cannot be linked.
tools::Congregation TwoYears(std::uint8_t yearMark) {
  tools::Congregation c;
  c.current.publishers = {WithHours(30, 10), WithHours(0, 40)};
  c.current.publishers[1].previousYearLink = 1;
  c.previous.emplace();
  c.previous->yearMarks.fill(yearMark);
  c.previous->publishers = {WithHours(30, 100)};
  return c;
}

TEST(PreviousYearMonthUsable, ComparesTheMarkWithLastYear) {
  struct Case {
    const char* what;
    int year;
    int reportMonth;
    int k;
    std::uint8_t mark;
    bool usable;
  } cases[] = {
      {"December run, mark of last year", 2026, 10, 0, 25, true},
      {"December run, mark of this year", 2026, 10, 2, 26, false},
      {"December run, month not yet reported", 2026, 10, 3, 0, true},
      {"January run counts as the old year", 2027, 11, 3, 25, true},
      {"January run, mark of the new year", 2027, 11, 0, 26, false},
      {"January run, month not yet reported", 2027, 11, 4, 0, true},
      {"February run", 2027, 0, 4, 26, true},
      {"February run, older mark", 2027, 0, 4, 25, false},
      {"September run: every month reported", 2026, 7, 11, 25, true},
      {"September run, wrong mark", 2026, 7, 11, 24, false},
      {"index below range", 2026, 10, -1, 25, false},
      {"index above range", 2026, 10, 12, 25, false},
  };
  for (const auto& c : cases) {
    Data d(TwoYears(c.mark));
    ServiceYear year{c.reportMonth, c.year, false};
    EXPECT_EQ(PreviousYearMonthUsable(d.data, year, c.k), c.usable) << c.what;
  }
}

TEST(PreviousYearMonthUsable, NoPreviousYearOnlyAllowsUnreportedMonths) {
  auto c = TwoYears(25);
  c.previous.reset();
  Data d(c);
  EXPECT_FALSE(PreviousYearMonthUsable(d.data, kDecember2026, 0));
  EXPECT_TRUE(PreviousYearMonthUsable(d.data, kDecember2026, 3));
}

TEST(CardValue, NewFormMonthsDecodeAndOldFormMonthsConvert) {
  tools::Congregation c;
  Publisher p;
  p.id = 12;
  MonthReport& oldMonth = p.months[9];
  oldMonth.books = 200;
  oldMonth.brochures = 3000;
  oldMonth.magazines = 4000;
  oldMonth.subscriptions = 7;
  oldMonth.hours = 31;
  oldMonth.quarters = 2;
  oldMonth.returnVisits = 700;
  oldMonth.bibleStudies = 4;
  MonthReport& newMonth = p.months[10];
  newMonth.newForm = true;
  newMonth.placements = 1234;
  newMonth.videoShowings = 321;
  newMonth.hours = 12;
  newMonth.returnVisits = 900;
  newMonth.bibleStudies = 61;
  c.current.publishers = {p};
  Data d(c);

  struct Case {
    int month;
    ValueKind kind;
    std::uint16_t value;
  } cases[] = {
      {9, ValueKind::Placements, 200 + 3000 + 4000},
      {9, ValueKind::VideoShowings, 0},
      {9, ValueKind::Hours, 31},
      {9, ValueKind::ReturnVisits, 700},
      {9, ValueKind::BibleStudies, 4},
      {9, ValueKind::Subscriptions, 0},
      {9, ValueKind::HourQuarters, 0},
      {9, static_cast<ValueKind>(-1), 0},
      {10, ValueKind::Placements, 1234},
      {10, ValueKind::VideoShowings, 321},
      {10, ValueKind::Hours, 12},
      {10, ValueKind::ReturnVisits, 900},
      {10, ValueKind::BibleStudies, 61},
      {12, ValueKind::Hours, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CardValue(d.data, kDecember2026, 1, c.month, c.kind), c.value)
        << "month " << c.month << " kind " << static_cast<int>(c.kind);
  }
  // The old form reads its packing whatever newFormMonths says.
  EXPECT_EQ(OldFormValue(d.data, kDecember2026, 1, 9, ValueKind::Subscriptions), 7);
  EXPECT_EQ(OldFormValue(d.data, kDecember2026, 1, 9, ValueKind::HourQuarters), 2);
  EXPECT_EQ(OldFormValue(d.data, kDecember2026, 1, 10, ValueKind::Books), 1234 & 0xFF);
  EXPECT_EQ(OldFormValue(d.data, kDecember2026, 1, 9, ValueKind::Placements), 0);
  EXPECT_EQ(CardValue(d.data, kDecember2026, 0, 9, ValueKind::Hours), 0)
      << "the header is no publisher";
  EXPECT_EQ(CardValue(d.data, kDecember2026, 2, 9, ValueKind::Hours), 0) << "slot past the count";
}

TEST(ServingRecord, PreviousYearModeFollowsTheLinkForItsMonths) {
  Data d(TwoYears(25));
  ASSERT_EQ(d.data.current[1].previousYearLink(), 1);
  struct Case {
    const char* what;
    ServiceYear year;
    int slot;
    int month;
    std::uint16_t hours;
  } cases[] = {
      {"running year", kDecember2026, 1, 9, 10 + 9},
      {"previous year, reported month", kDecember2026PreviousYear, 1, 9, 100 + 9},
      {"previous year, December still this year's file", kDecember2026PreviousYear, 1, 11, 10 + 11},
      {"April run: May from this year's file", {3, 2027, true}, 1, 4, 10 + 4},
      {"April run: September from the previous file", {3, 2027, true}, 1, 8, 100 + 8},
      {"April run: March from the previous file", {3, 2027, true}, 1, 2, 100 + 2},
      {"unlinked publisher", kDecember2026PreviousYear, 2, 9, 0},
      {"unlinked publisher, own month", kDecember2026PreviousYear, 2, 11, 40 + 11},
  };
  for (const auto& c : cases) {
    // OldFormValue does not look at the year marks, so the April runs read the values too.
    EXPECT_EQ(OldFormValue(d.data, c.year, c.slot, c.month, ValueKind::Hours), c.hours) << c.what;
  }
  EXPECT_EQ(CardValue(d.data, kDecember2026PreviousYear, 1, 9, ValueKind::Hours), 100 + 9);
}

TEST(ServingRecord, ALinkToNoLoadedSlotGivesZero) {
  {
    Data d(TwoYears(25));
    d.data.current[1].SetWord(PublisherRecord::kPreviousYearLink, 2);  // previous count is 2
    EXPECT_EQ(ServingRecord(d.data, kDecember2026PreviousYear, 1, 9), nullptr);
    EXPECT_EQ(CardValue(d.data, kDecember2026PreviousYear, 1, 9, ValueKind::Hours), 0);
  }
  {
    auto c = TwoYears(25);
    c.current.publishers[0].previousYearLink = 1;
    c.previous.reset();  // the file's link stays, but names nothing loaded
    Data d(c);
    ASSERT_EQ(d.data.current[1].previousYearLink(), 1);
    EXPECT_EQ(OldFormValue(d.data, kDecember2026PreviousYear, 1, 9, ValueKind::Hours), 0);
    EXPECT_EQ(OldFormValue(d.data, kDecember2026PreviousYear, 1, 11, ValueKind::Hours), 10 + 11);
  }
}

TEST(CardValue, UnusablePreviousYearMonthsGiveZero) {
  Data d(TwoYears(26));  // marks of the wrong year for a December 2026 run
  // CardValue asks with the calendar month index: February (1) lies below ElapsedMonths (3).
  EXPECT_EQ(CardValue(d.data, kDecember2026PreviousYear, 1, 1, ValueKind::Hours), 0);
  EXPECT_EQ(OldFormValue(d.data, kDecember2026PreviousYear, 1, 1, ValueKind::Hours), 100 + 1);
  // October (9) counts as not yet reported, so the mark is not asked.
  EXPECT_EQ(CardValue(d.data, kDecember2026PreviousYear, 1, 9, ValueKind::Hours), 100 + 9);
  EXPECT_EQ(CardValue(d.data, kDecember2026, 1, 1, ValueKind::Hours), 10 + 1);

  Data usable(TwoYears(25));
  EXPECT_EQ(CardValue(usable.data, kDecember2026PreviousYear, 1, 1, ValueKind::Hours), 100 + 1);
}

}  // namespace
}  // namespace velunorh
