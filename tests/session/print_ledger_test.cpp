// The print ledger: what a print records, how the file reads back or is set aside when damaged,
// and through the session what is due after a restart, a corrected report and a re-sorted file.
#include "session/print_ledger.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include "base/atomic_file.h"
#include "base/platform.h"
#include "base/string_table.h"
#include "base/today.h"
#include "card/card_digest.h"
#include "card/header_preview_pass.h"
#include "card/ledger_values.h"
#include "card/monthly_preview_pass.h"
#include "card/recording_surface.h"
#include "no_questions.h"
#include "session/session.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#ifndef _WIN32
#include "posix_test_support.h"
#endif

namespace velunorh {
namespace {

constexpr CalendarDate kPrintDay{2026, 11, 10};

// A card of the service year 2026/27 with the rows September and October to print.
CardContent TwoMonthCard() {
  CardContent card;
  card.hasPublisher = true;
  card.displayName = "Kovács Anna";
  card.year = ServiceYear::FromDate(2026, 11);
  for (int row = 0; row < 12; ++row) {
    card.rows[row].month = ServiceYear::RowMonth(row);
    card.rows[row].printable = row < 3;
    card.rows[row].cells = {"", "", "", "", ""};
  }
  card.rows[0].cells[2] = "12";
  card.rows[1].remark = "kisegítő úttörő";
  // Row 2 (November) prints nothing yet.
  card.printedTotals = {"0", "0", "12", "0", "0"};
  return card;
}

CardPageInput Ticked(std::initializer_list<int> rows, bool header, bool total) {
  CardPageInput page;
  for (int row : rows) page.grid.monthRow[row] = true;
  page.header.printHeader = header;
  page.grid.printTotal = total;
  return page;
}

TEST(PrintLedger, APrintRecordsExactlyWhatWentOnThePaper) {
  const CardContent card = TwoMonthCard();
  struct Case {
    const char* what;
    CardPageInput page;
    std::array<bool, 12> rows;
    bool header, total;
  };
  const Case cases[] = {
      {"both rows", Ticked({0, 1}, false, false), {true, true}, false, false},
      {"the header only", Ticked({}, true, false), {}, true, false},
      {"a row without text prints nothing", Ticked({2}, false, false), {}, false, false},
      {"a row of the other year", Ticked({5}, false, false), {}, false, false},
      {"the total with one row", Ticked({1}, false, true), {false, true}, false, true},
  };
  for (const Case& c : cases) {
    PrintLedger ledger;
    ledger.Record({"id:11", &card, c.page}, kPrintDay);
    const CardRecord* record = ledger.Find(2026, "id:11");
    const bool any = c.header || c.total || c.rows != std::array<bool, 12>{};
    ASSERT_EQ(record != nullptr, any) << c.what;
    if (!record) continue;
    for (int row = 0; row < 12; ++row)
      EXPECT_EQ(record->rows[row].has_value(), c.rows[row]) << c.what << " row " << row;
    EXPECT_EQ(record->header.has_value(), c.header) << c.what;
    EXPECT_EQ(record->total.has_value(), c.total) << c.what;
    if (c.rows[0]) {
      EXPECT_EQ(*record->rows[0],
                (LedgerStamp{kPrintDay, RowDataDigest(card, 0), ValuesText(RowDataOf(card, 0))}));
    }
  }
}

TEST(PrintLedger, TheDigestSeesEveryTextAndWhereItStands) {
  CardMonthRow row;
  row.cells = {"1", "", "3"};
  const std::uint64_t digest = RowDigest(row);
  CardMonthRow moved = row;
  moved.cells = {"", "1", "3"};
  CardMonthRow remark = row;
  remark.remark = "x";
  CardMonthRow figure = row;
  figure.cells[2] = "4";
  for (const CardMonthRow* other : {&moved, &remark, &figure}) EXPECT_NE(RowDigest(*other), digest);
  EXPECT_EQ(RowDigest(row), digest);
  // FNV-1a 64 as published: the empty text and "a".
  EXPECT_EQ(Fnv1a64(""), 0xcbf29ce484222325ULL);
  EXPECT_EQ(Fnv1a64("a"), 0xaf63dc4c8601ec8cULL);
}

TEST(PrintLedger, TheFileReadsBackAsWritten) {
  const CardContent card = TwoMonthCard();
  PrintLedger ledger;
  ledger.Record({"id:11", &card, Ticked({0, 1}, true, true)}, kPrintDay);
  ledger.Record({"nm:00112233445566ff", &card, Ticked({0}, false, false)}, {2027, 1, 2});
  const std::string text = ledger.Text();
  EXPECT_NE(text.find("[2026 id:11]\nName=Kovács Anna\nHeader=2026-11-10 "), std::string::npos)
      << text;
  EXPECT_NE(text.find("Month09=2026-11-10 "), std::string::npos) << text;
  EXPECT_NE(text.find("Month10=2026-11-10 "), std::string::npos) << text;
  auto parsed = PrintLedger::Parse(text);
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->size(), 2u);
  EXPECT_EQ(parsed->at({2026, "id:11"}), *ledger.Find(2026, "id:11"));
  EXPECT_EQ(parsed->at({2026, "nm:00112233445566ff"}).rows[0]->date, (CalendarDate{2027, 1, 2}));
}

// What each line was printed from goes into the file beside it and comes back with it, through
// a save and a load and through another copy's save merged in; blanks and quotes at the ends
// of the values survive the reader's trimming.
TEST(PrintLedger, WhatEachLineWasPrintedFromSurvivesTheFileAndAnotherCopysSave) {
  test::TempDir dir;
  const auto file = dir / kPrintLedgerFileName;
  CardContent card = TwoMonthCard();
  card.familyName = " Kovács";
  card.rows[1].remark = "\"idézet\" ";
  PrintLedger mine, other;
  mine.Load(file, kPrintDay);
  mine.Record({"id:11", &card, Ticked({0, 1}, true, true)}, kPrintDay);
  ASSERT_TRUE(mine.Save());
  const CardRecord printed = *mine.Find(2026, "id:11");
  EXPECT_EQ(printed.rows[1]->values, ValuesText(RowDataOf(card, 1)));
  EXPECT_EQ(printed.header->values, ValuesText(HeaderDataOf(card, false)));
  EXPECT_EQ(printed.total->values, ValuesText(TotalDataOf(card)));

  other.Load(file, kPrintDay);
  mine.Record({"id:22", &card, Ticked({0}, false, false)}, kPrintDay);
  ASSERT_TRUE(mine.Save());
  other.Record({"id:33", &card, Ticked({1}, false, false)}, kPrintDay);
  ASSERT_TRUE(other.Save());  // merged into what `mine` saved meanwhile
  PrintLedger reread;
  ASSERT_EQ(reread.Load(file, kPrintDay).outcome, PrintLedger::LoadOutcome::kLoaded);
  EXPECT_EQ(*reread.Find(2026, "id:11"), printed);
  EXPECT_EQ(*reread.Find(2026, "id:22"), *mine.Find(2026, "id:22"));
  EXPECT_EQ(reread.Find(2026, "id:33")->rows[1]->values, printed.rows[1]->values);
  EXPECT_EQ(reread.Text(), other.Text());
}

// A ledger written before the values were kept reads as it did; a line's values are found
// wherever in its section a hand moved them, and values without their line are left out.
TEST(PrintLedger, ALineReadsWithItsValuesOrWithoutThem) {
  const std::string stamp = "2026-11-10 0123456789abcdef";
  const auto parsed = PrintLedger::Parse("[2026 id:11]\nMonth10Data=- / - /\nMonth10=" + stamp +
                                         "\nMonth11Data=1 / 1 /\nMonth09=" + stamp + "\n");
  ASSERT_TRUE(parsed);
  const CardRecord& record = parsed->at({2026, "id:11"});
  EXPECT_EQ(record.rows[0]->values, "");
  EXPECT_EQ(record.rows[1]->values, "- / - /");
  EXPECT_FALSE(record.rows[2]);
  EXPECT_TRUE(record.kept.empty());
  const std::string text = PrintLedger::TextOf(*parsed);
  EXPECT_NE(text.find("Month09=" + stamp + "\nMonth10=" + stamp + "\nMonth10Data=- / - /\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("Month11"), std::string::npos) << text;
}

TEST(PrintLedger, AYearBelowAThousandIsWrittenWithTheFourDigitsItIsReadBy) {
  CardContent card = TwoMonthCard();
  card.year = ServiceYear::FromDate(1000, 2);
  PrintLedger ledger;
  ledger.Record({"id:50", &card, Ticked({0}, false, false)}, kPrintDay);
  const std::string text = ledger.Text();
  EXPECT_NE(text.find("[0999 id:50]"), std::string::npos) << text;
  auto parsed = PrintLedger::Parse(text);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->at({999, "id:50"}), *ledger.Find(999, "id:50"));
}

#ifndef _WIN32
// Two copies of the program on one data folder: each loaded the ledger before the other saved.
// A second process records its publisher in between; both records survive this one's save.
TEST(PrintLedger, TwoCopiesOnOneFolderKeepEachOthersRecords) {
  test::TempDir dir;
  const auto file = dir / kPrintLedgerFileName;
  const CardContent card = TwoMonthCard();
  PrintLedger mine;
  ASSERT_EQ(mine.Load(file, kPrintDay).outcome, PrintLedger::LoadOutcome::kLoaded);
  const test::ChildResult other = test::RunWithTimeLimit(20, [&](std::string& text) {
    PrintLedger theirs;
    theirs.Load(file, kPrintDay);
    theirs.Record({"id:22", &card, Ticked({0, 1}, true, false)}, kPrintDay);
    return theirs.Save(&text);
  });
  ASSERT_TRUE(other.ok) << other.text;
  mine.Record({"id:11", &card, Ticked({0}, false, false)}, kPrintDay);
  ASSERT_TRUE(mine.Save());
  PrintLedger reread;
  ASSERT_EQ(reread.Load(file, kPrintDay).outcome, PrintLedger::LoadOutcome::kLoaded);
  ASSERT_NE(reread.Find(2026, "id:22"), nullptr);
  EXPECT_TRUE(reread.Find(2026, "id:22")->header.has_value());
  ASSERT_NE(reread.Find(2026, "id:11"), nullptr);
  // This copy sees the other's print from now on; a card forgotten here stays forgotten.
  EXPECT_NE(mine.Find(2026, "id:22"), nullptr);
  ASSERT_TRUE(mine.Forget(2026, "id:22"));
  ASSERT_TRUE(mine.Save());
  PrintLedger last;
  last.Load(file, kPrintDay);
  EXPECT_EQ(last.Find(2026, "id:22"), nullptr);
  EXPECT_NE(last.Find(2026, "id:11"), nullptr);
}

// A job the print system cancelled after it was recorded: its lines go back to what they were
// before, in memory and in the file, beside what another copy saved meanwhile; a line printed
// again since is that print's and stays.
TEST(PrintLedger, APrintTakenBackLeavesTheCardAsItWasBefore) {
  test::TempDir dir;
  const auto file = dir / kPrintLedgerFileName;
  const CardContent card = TwoMonthCard();
  PrintLedger mine;
  mine.Load(file, kPrintDay);
  mine.Record({"id:11", &card, Ticked({}, true, false)}, {2026, 10, 1});
  ASSERT_TRUE(mine.Save());
  const CardRecord earlier = *mine.Find(2026, "id:11");
  const LedgerEntry cancelled =
      mine.Record({"id:11", &card, Ticked({0, 1}, true, false)}, kPrintDay);
  const LedgerEntry alone = mine.Record({"id:12", &card, Ticked({0}, false, false)}, kPrintDay);
  ASSERT_TRUE(mine.Save());
  {
    PrintLedger theirs;  // another copy prints meanwhile
    theirs.Load(file, kPrintDay);
    theirs.Record({"id:22", &card, Ticked({0}, false, false)}, kPrintDay);
    ASSERT_TRUE(theirs.Save());
  }
  EXPECT_EQ(mine.TakeBack(cancelled), (std::vector<int>{0, 1, 2}));  // header, Sep, Oct
  EXPECT_EQ(*mine.Find(2026, "id:11"), earlier);
  EXPECT_EQ(mine.TakeBack(alone), std::vector<int>{1});
  EXPECT_EQ(mine.Find(2026, "id:12"), nullptr);  // no empty section is left
  ASSERT_TRUE(mine.Save());
  PrintLedger reread;
  reread.Load(file, kPrintDay);
  ASSERT_NE(reread.Find(2026, "id:11"), nullptr);
  EXPECT_EQ(reread.Find(2026, "id:11")->header, earlier.header);
  EXPECT_FALSE(reread.Find(2026, "id:11")->rows[0].has_value());
  EXPECT_EQ(reread.Find(2026, "id:12"), nullptr);
  EXPECT_NE(reread.Find(2026, "id:22"), nullptr);
  EXPECT_TRUE(mine.TakeBack(cancelled).empty());  // twice takes nothing

  const LedgerEntry first = mine.Record({"id:11", &card, Ticked({0}, false, false)}, kPrintDay);
  mine.Record({"id:11", &card, Ticked({0}, false, false)}, {2026, 11, 12});
  EXPECT_TRUE(mine.TakeBack(first).empty());
  EXPECT_TRUE(mine.Find(2026, "id:11")->rows[0].has_value());
}

// While this copy runs, another program (a newer version) writes lines this one cannot read:
// this copy's next save keeps each of them as it was, beside its own print.
TEST(PrintLedger, ASaveKeepsEveryLineAnotherProgramWroteThatItCannotRead) {
  const CardContent card = TwoMonthCard();
  const std::string theirs[] = {
      "[2026 id:11]\nName=Kovács Anna\nMonth09=2026-11-01 0123456789abcdef\n"
      "Remark09=kisegítő úttörő\n",
      // Nothing in a form this version reads as a card.
      "; written by a newer version\n[2026 restart id:11]\nOn=2026-11-09\n",
      // Damaged lines too: the next start tells of them, with a copy of them.
      "[2026 id:12]\nMonth09=soon\ngarbage\n[2026 id:12]\nTotal=x\n",
  };
  for (const std::string& text : theirs) {
    test::TempDir dir;
    const auto file = dir / kPrintLedgerFileName;
    PrintLedger mine;
    ASSERT_EQ(mine.Load(file, kPrintDay).outcome, PrintLedger::LoadOutcome::kLoaded);
    const test::ChildResult other = test::RunWithTimeLimit(
        20, [&](std::string& error) { return WriteFileAtomically(file, text, &error); });
    ASSERT_TRUE(other.ok) << other.text;
    mine.Record({"id:13", &card, Ticked({0}, false, false)}, kPrintDay);
    ASSERT_TRUE(mine.Save());
    const std::string saved = test::ReadText(file);
    for (std::string_view rest = text; !rest.empty();) {
      const std::string_view line = rest.substr(0, rest.find('\n'));
      rest.remove_prefix(line.size() + 1);
      EXPECT_NE(saved.find("\n" + std::string(line) + "\n"), std::string::npos) << line << " of\n"
                                                                                << saved;
    }
    EXPECT_NE(mine.Find(2026, "id:13"), nullptr);
  }
}

// A file another program made too large to read while this copy runs is set aside whole, as at
// start, and named; this copy's ledger goes on.
TEST(PrintLedger, ASaveSetsAsideWhatItCannotReadAtAll) {
  ScopedToday today{kPrintDay};
  test::TempDir dir;
  const auto file = dir / kPrintLedgerFileName;
  PrintLedger mine;
  mine.Load(file, kPrintDay);
  test::WriteText(file, "[2026 id:11]\n");
  std::filesystem::resize_file(file, PrintLedger::kMaxBytes + 1);
  const CardContent card = TwoMonthCard();
  mine.Record({"id:13", &card, Ticked({0}, false, false)}, kPrintDay);
  std::filesystem::path aside;
  ASSERT_TRUE(mine.Save(nullptr, &aside));
  EXPECT_EQ(aside.filename(), "velunorh-ledger.ini.damaged-20261110");
  EXPECT_EQ(std::filesystem::file_size(aside), PrintLedger::kMaxBytes + 1);
  EXPECT_TRUE(PrintLedger::Parse(test::ReadText(file))->contains({2026, "id:13"}));
}

// A copy that died holding the lock does not keep the others from saving.
TEST(PrintLedger, ALockLeftByAKilledCopyDoesNotBlockASave) {
  test::TempDir dir;
  const auto file = dir / kPrintLedgerFileName;
  pid_t holder = ::fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    auto lock = FileLock::Acquire(file.string() + ".lock", std::chrono::seconds(1));
    ::pause();
    ::_exit(lock ? 0 : 1);
  }
  ::usleep(200 * 1000);
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  PrintLedger ledger;
  ledger.Load(file, kPrintDay);
  const CardContent card = TwoMonthCard();
  ledger.Record({"id:11", &card, Ticked({0}, false, false)}, kPrintDay);
  std::string error;
  EXPECT_TRUE(ledger.Save(&error)) << error;
}
#endif

// The service year of a card's record is the card's own, across the turn of the year: the
// running card stays the old one in September, and the previous service year's card keeps a
// record apart from the running one.
TEST(PrintLedger, EachCardKeepsTheRecordOfItsOwnServiceYear) {
  const struct {
    int year, month;
    bool previous;
    int serviceYear;
  } cases[] = {
      {2026, 8, false, 2025}, {2026, 9, false, 2025}, {2026, 10, false, 2026},
      {2027, 1, false, 2026}, {2026, 10, true, 2025}, {2026, 9, true, 2024},
  };
  for (const auto& c : cases) {
    CardContent card = TwoMonthCard();
    card.year = ServiceYear::FromDate(c.year, c.month);
    card.year.previousServiceYear = c.previous;
    EXPECT_EQ(LedgerServiceYear(card), c.serviceYear) << c.year << "-" << c.month << c.previous;
  }
  // Printed in September (the running card is still 2025/26), then seen in October.
  CardContent september = TwoMonthCard();
  september.year = ServiceYear::FromDate(2026, 9);
  PrintLedger ledger;
  ledger.Record({"id:11", &september, Ticked({0}, false, false)}, {2026, 9, 5});
  CardContent october = september;
  october.year = ServiceYear::FromDate(2026, 10);
  EXPECT_EQ(ledger.Find(LedgerServiceYear(october), "id:11"), nullptr);
  october.year.previousServiceYear = true;
  EXPECT_NE(ledger.Find(LedgerServiceYear(october), "id:11"), nullptr);
}

TEST(PrintLedger, WhatThisVersionDoesNotKnowIsKeptAndOnlyDamageIsLeftOut) {
  const std::string good = "[2026 id:11]\nMonth09=2026-11-10 0123456789abcdef\n";
  ASSERT_TRUE(PrintLedger::Parse(good));
  ASSERT_TRUE(PrintLedger::Parse(
      "; comment\r\n\r\n[2026 id:11]\r\nName=\r\nTotal=2026-11-10 0123456789abcdef\r\n"));
  ASSERT_TRUE(PrintLedger::Parse(""));
  // Another version's keys and sections, and notes, are kept as they were and written back.
  for (const char* text : {
           "[2026 id:11]\nRemark09=kisegítő úttörő\n",               // a key of another name
           "[2026 id:11]\nMonth13=2026-11-10 0123456789abcdef\n",    // no such month
           "[2026 id:11]\n; checked by hand\n",                      // a note
           "; a note before the cards\n[2026 id:11]\n",              // a note before them
           "[2026 restarted id:11]\nOn=2026-11-10\n[2026 id:12]\n",  // a section of another form
           "[26 id:11]\nMonth09=yesterday\n",                        // not a card's section
           "[2026 slot:3]\nA=1\nA=2\ngarbage\n",                     // kept whole, as it is
       }) {
    int skipped = -1;
    const auto read = PrintLedger::Read(text, false, &skipped);
    ASSERT_TRUE(read) << text;
    EXPECT_EQ(skipped, 0) << text;
    const std::string written = PrintLedger::TextOf(*read);
    for (std::string_view rest = text; !rest.empty();) {
      const std::string_view line = rest.substr(0, rest.find('\n'));
      rest.remove_prefix(std::min(rest.size(), line.size() + 1));
      EXPECT_NE(written.find(std::string(line) + "\n"), std::string::npos) << line << " of\n"
                                                                           << written;
    }
    EXPECT_EQ(PrintLedger::Read(written, false), read) << written;
  }
  // A damaged line costs that line; a text of which no card can be read is damaged whole.
  const struct {
    const char* text;
    bool cardsKept;
  } cases[] = {
      {"Month09=2026-11-10 0123456789abcdef\n", false},               // key before any section
      {"[2026 id:11\n", false},                                       // unclosed section
      {"[2026 id:11]\ngarbage line\n", true},                         // neither key nor section
      {"[2026 id:11]\nMonth09=2026-13-10 0123456789abcdef\n", true},  // month out of range
      {"[2026 id:11]\nMonth09=2026-11-10 0123456789ABCDEG\n", true},  // not hex
      {"[2026 id:11]\nMonth09=2026-11-10\n", true},                   // no digest
      {"[2026 id:11]\nHeader=2026-11-10 0123456789abcdef\nheader=2026-11-11 0123456789abcdef\n",
       true},
      {"[2026 id:11]\n[2026 id:11]\n", true},  // a card twice
  };
  for (const auto& c : cases) {
    int skipped = 0;
    const auto parsed = PrintLedger::Parse(c.text, &skipped);
    EXPECT_EQ(parsed.has_value(), c.cardsKept) << c.text;
    EXPECT_EQ(skipped, 1) << c.text;
  }
  // The good lines around a bad one are kept.
  int skipped = 0;
  const auto mixed = PrintLedger::Parse(
      "[2026 id:11]\nMonth09=2026-11-10 0123456789abcdef\nMonth10=2026-11-10\n"
      "[2026 id:12]\nTotal=2026-11-10 0123456789abcdef\n",
      &skipped);
  ASSERT_TRUE(mixed);
  EXPECT_EQ(skipped, 1);
  EXPECT_TRUE(mixed->at({2026, "id:11"}).rows[0].has_value());
  EXPECT_TRUE(mixed->at({2026, "id:12"}).total.has_value());
}

TEST(PrintLedger, ALedgerWithABadLineKeepsTheRestAndACopyOfTheOriginal) {
  test::TempDir dir;
  const auto file = dir / kPrintLedgerFileName;
  const std::string original =
      "[2026 id:11]\nMonth09=2026-11-10 0123456789abcdef\nMonth10=2026-13-10 0123456789abcdef\n";
  test::WriteText(file, original);
  PrintLedger ledger;
  const auto loaded = ledger.Load(file, kPrintDay);
  EXPECT_EQ(loaded.outcome, PrintLedger::LoadOutcome::kPartlyRead);
  EXPECT_EQ(loaded.skippedLines, 1);
  EXPECT_EQ(test::ReadText(loaded.setAside), original);
  ASSERT_NE(ledger.Find(2026, "id:11"), nullptr);
  EXPECT_TRUE(ledger.Find(2026, "id:11")->rows[0].has_value());
}

TEST(PrintLedger, ADamagedFileIsSetAsideAndTheLedgerStartsEmpty) {
  test::TempDir dir;
  const auto file = dir / kPrintLedgerFileName;
  const std::string damaged = "not a ledger at all\n[26 id:11]\nMonth09=yesterday\n";
  test::WriteText(file, damaged);
  test::WriteText(dir / "velunorh-ledger.ini.damaged-20261110", "an earlier one");
  PrintLedger ledger;
  const auto loaded = ledger.Load(file, kPrintDay);
  EXPECT_EQ(loaded.outcome, PrintLedger::LoadOutcome::kSetAside);
  EXPECT_EQ(loaded.setAside, dir / "velunorh-ledger.ini.damaged-20261110-2");
  EXPECT_EQ(test::ReadText(loaded.setAside), damaged);
  EXPECT_EQ(test::ReadText(dir / "velunorh-ledger.ini.damaged-20261110"), "an earlier one");
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(ledger.Find(2026, "id:11"), nullptr);
  const CardContent card = TwoMonthCard();
  ledger.Record({"id:11", &card, Ticked({0}, false, false)}, kPrintDay);
  EXPECT_TRUE(ledger.Save());
  EXPECT_TRUE(PrintLedger::Parse(test::ReadText(file)));
}

TEST(PrintLedger, AMissingFileIsEmptyAndAnUnreadableOneIsNeverWrittenOver) {
  test::TempDir dir;
  PrintLedger missing;
  EXPECT_EQ(missing.Load(dir / kPrintLedgerFileName, kPrintDay).outcome,
            PrintLedger::LoadOutcome::kLoaded);
  EXPECT_TRUE(missing.writable());

  // A folder where the file should be: not read, and not replaced.
  std::filesystem::create_directory(dir / kPrintLedgerFileName);
  PrintLedger unreadable;
  EXPECT_EQ(unreadable.Load(dir / kPrintLedgerFileName, kPrintDay).outcome,
            PrintLedger::LoadOutcome::kUnreadable);
  std::string error;
  EXPECT_FALSE(unreadable.Save(&error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir / kPrintLedgerFileName));
}

TEST(PrintLedger, ThePublisherKeyIsTheIdUnlessItIsMissingOrShared) {
  PublisherTable table;
  table.slots.resize(5);
  table.count = 5;
  auto set = [&](int slot, const char* given, const char* family, std::uint16_t id) {
    table[slot].SetRawText(PublisherRecord::kGivenName, given);
    table[slot].SetRawText(PublisherRecord::kFamilyName, family);
    table[slot].SetWord(PublisherRecord::kPublisherId, id);
  };
  set(1, "Anna", "Kovács", 11);
  set(2, "Béla", "Szabó", 0);
  set(3, "Cili", "Tóth", 40);
  set(4, "Dani", "Varga", 40);
  EXPECT_EQ(LedgerPublisherKey(table, 1), "id:11");
  for (int slot : {2, 3, 4}) EXPECT_EQ(LedgerPublisherKey(table, slot).substr(0, 3), "nm:") << slot;
  EXPECT_NE(LedgerPublisherKey(table, 3), LedgerPublisherKey(table, 4));
  EXPECT_EQ(LedgerPublisherKey(table, 0), "");
}

// --- Through the session ------------------------------------------------------------------

tools::Publisher Reporting(const std::string& given, const std::string& family, std::uint16_t id) {
  tools::Publisher p;
  p.givenName = given;
  p.familyName = family;
  p.id = id;
  p.dateOfBirth = "03021970";
  for (int month : {8, 9}) {  // September and October
    p.months[month].newForm = true;
    p.months[month].hours = 10;
  }
  return p;
}

class LedgerSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { Write(); }
  void Write() { tools::WriteCongregation(congregation_, dir_.path()); }
  std::unique_ptr<Session> Start() {
    auto session = std::make_unique<Session>(
        Session::Places{dir_ / "velunorh.INI", dir_.path(), dir_ / "floppy"}, prompts_);
    EXPECT_EQ(session->StartUp(ServiceYear::FromDate(2026, 11)), SessionStatus::kRunning);
    return session;
  }
  // Prints the chosen publisher's card as the window does after a completed job.
  static std::string Print(Session& session) {
    return session.RecordPrinted(
        {{session.selection().selectedPublisher, &session.Content(), session.CardPage()}});
  }
  static int SlotOf(Session& session, const std::string& given) {
    for (const auto& line : session.PublisherLines()) {
      session.ChoosePublisher(line.slot);
      if (session.Content().displayName.find(given) != std::string::npos) return line.slot;
    }
    return 0;
  }

  ScopedToday today_{kPrintDay};
  test::TempDir dir_;
  test::NoQuestions prompts_{test::NoQuestions::Messages::kKeep};
  tools::Congregation congregation_ = [] {
    tools::Congregation c;
    c.current.publishers = {Reporting("Anna", "Kovács", 11), Reporting("Béla", "Szabó", 0)};
    return c;
  }();
};

TEST_F(LedgerSessionTest, AfterARestartDueTicksOnlyWhatIsNotOnTheCard) {
  {
    auto session = Start();
    session->ChoosePublisher(1);
    session->SetMonthRow(0, true);  // September only; the header box goes off with it
    EXPECT_EQ(Print(*session), "");
  }
  auto session = Start();
  session->ChoosePublisher(1);
  EXPECT_EQ(session->MonthlyPreview().ledger.rows[0], LedgerMark::kOnCard);
  EXPECT_EQ(session->MonthlyPreview().ledger.rows[1], LedgerMark::kNone);
  session->SetPrintHeader(false);
  EXPECT_TRUE(session->TickDue());
  const CardSelection& boxes = session->selection();
  EXPECT_FALSE(boxes.monthRow[0]);
  EXPECT_TRUE(boxes.monthRow[1]);
  for (int row = 2; row < 12; ++row) EXPECT_FALSE(boxes.monthRow[row]) << row;
  EXPECT_TRUE(boxes.printHeader);  // never printed
  EXPECT_FALSE(boxes.printTotal);  // not usable before the year's end

  // With the header and October printed too, nothing is due and no box changes.
  Print(*session);
  session->SetMonthRow(1, false);
  session->SetPrintHeader(false);
  EXPECT_FALSE(session->TickDue());
  EXPECT_FALSE(session->selection().monthRow[1]);
  EXPECT_FALSE(session->selection().printHeader);
  const HeaderPreviewInput header = session->HeaderPreview();
  EXPECT_EQ(header.ledger.note, "Fejléc nyomtatva: 2026.11.10.");
  RecordingSurface surface(96, 96);
  DrawHeaderPreview(surface, {0, 0, 506, 156}, session->Content(), header);
  const auto* note = surface.Find("Fejléc nyomtatva: 2026.11.10.");
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->color, kBlack);
  EXPECT_LT(note->y, 156 / 26 * 5 - 10);  // above the name line
}

TEST_F(LedgerSessionTest, ACorrectedReportIsMarkedAndNotDue) {
  {
    auto session = Start();
    session->ChoosePublisher(1);
    session->SetMonthRow(0, true);
    session->SetMonthRow(1, true);
    Print(*session);
  }
  congregation_.current.publishers[0].months[9].hours = 11;  // October corrected
  Write();
  auto session = Start();
  session->ChoosePublisher(1);
  const MonthlyPreviewInput input = session->MonthlyPreview();
  EXPECT_EQ(input.ledger.rows[0], LedgerMark::kOnCard);
  EXPECT_EQ(input.ledger.rows[1], LedgerMark::kChanged);
  EXPECT_NE(session->MonthlyLedgerNote().find("Nyomtatás óta változott: Okt: Óra 10 → 11."),
            std::string::npos)
      << session->MonthlyLedgerNote();
  // A print over it names what changed too.
  prompts_.overprintAnswers = {OverprintAnswer::kCancel};
  session->SetMonthRow(1, true);
  EXPECT_FALSE(session->SettleOverprint(session->Content(), session->CardPage()));
  ASSERT_EQ(prompts_.overprintQuestions.size(), 1u);
  EXPECT_NE(prompts_.overprintQuestions[0].find("rajta vannak: Okt: Óra 10 → 11."),
            std::string::npos)
      << prompts_.overprintQuestions[0];
  session->SetMonthRow(1, false);

  RecordingSurface surface(96, 96);
  DrawMonthlyPreview(surface, {0, 0, 480, 224}, session->Content(), input, 1, 1);
  const auto* corrected = surface.Find("11");
  const auto* kept = surface.Find("10");
  ASSERT_NE(corrected, nullptr);
  ASSERT_NE(kept, nullptr);
  // The figures' colour is their box's; the change is the mark's to tell.
  EXPECT_EQ(corrected->color, kept->color);
  // Each mark stands in its row (rows of 16).
  ASSERT_EQ(surface.marks.size(), 2u);
  EXPECT_EQ(surface.marks[0].mark, kOnCardMark);
  EXPECT_EQ(surface.marks[0].box.top / 16, kept->y / 16);
  EXPECT_EQ(surface.marks[1].mark, kChangedMark);
  EXPECT_EQ(surface.marks[1].box.top / 16, corrected->y / 16);

  // The corrected row holds ink already: it is shown, not due (the header, never printed, is).
  EXPECT_TRUE(session->TickDue());
  EXPECT_TRUE(session->selection().printHeader);
  EXPECT_FALSE(session->selection().monthRow[0]);
  EXPECT_FALSE(session->selection().monthRow[1]);

  // Corrected on the card by hand and confirmed: October is on the card as it is now, for good,
  // and nothing else was recorded.
  EXPECT_TRUE(session->HasChangedItems());
  EXPECT_EQ(session->ConfirmCorrectedByHand(), "");
  EXPECT_FALSE(session->HasChangedItems());
  session = Start();
  session->ChoosePublisher(1);
  EXPECT_EQ(session->MonthlyPreview().ledger.rows[1], LedgerMark::kOnCard);
  EXPECT_FALSE(session->LedgerRecord()->header.has_value());
  EXPECT_FALSE(session->TickDue() && session->selection().monthRow[1]);
}

TEST_F(LedgerSessionTest, ReSortingThePublisherFileKeepsEachRecordWithItsPublisher) {
  {
    auto session = Start();
    for (const char* given : {"Anna", "Béla"}) {  // one with an id, one without
      ASSERT_NE(SlotOf(*session, given), 0);
      session->SetMonthRow(0, true);
      Print(*session);
      session->SetMonthRow(0, false);
    }
    session->ChoosePublisher(SlotOf(*session, "Anna"));
    session->SetMonthRow(1, true);
    Print(*session);  // Anna has October too
  }
  auto& publishers = congregation_.current.publishers;
  std::swap(publishers[0], publishers[1]);
  publishers.insert(publishers.begin(), Reporting("Cili", "Tóth", 0));
  Write();
  auto session = Start();
  const struct {
    const char* given;
    LedgerMark october;
  } expected[] = {
      {"Anna", LedgerMark::kOnCard}, {"Béla", LedgerMark::kNone}, {"Cili", LedgerMark::kNone}};
  for (const auto& e : expected) {
    ASSERT_NE(SlotOf(*session, e.given), 0) << e.given;
    const MonthlyLedgerView view = session->MonthlyPreview().ledger;
    EXPECT_EQ(view.rows[0], e.given[0] == 'C' ? LedgerMark::kNone : LedgerMark::kOnCard) << e.given;
    EXPECT_EQ(view.rows[1], e.october) << e.given;
  }
}

TEST_F(LedgerSessionTest, TheDueGroupPrintGivesEachCardItsOwnLinesAndSkipsTheDone) {
  {
    auto session = Start();
    session->ChoosePublisher(SlotOf(*session, "Anna"));
    session->SetPrintHeader(true);
    session->SetMonthRow(0, true);
    session->SetMonthRow(1, true);
    session->SetPrintHeader(true);
    Print(*session);
    session->ChoosePublisher(SlotOf(*session, "Béla"));
    session->SetMonthRow(1, false);
    Print(*session);  // September only, and no header
  }
  auto session = Start();
  const Session::DueGroupPlan plan = session->PlanDueGroupPrint();
  EXPECT_EQ(plan.nothingDue, 1);
  ASSERT_EQ(plan.cards.size(), 1u);
  EXPECT_EQ(plan.cards[0].card.displayName.find("Béla"), 0u) << plan.cards[0].card.displayName;
  const CardPageInput& page = plan.cards[0].page;
  EXPECT_TRUE(page.header.printHeader);
  EXPECT_FALSE(page.grid.monthRow[0]);
  EXPECT_TRUE(page.grid.monthRow[1]);
  EXPECT_FALSE(page.grid.printTotal);
}

TEST_F(LedgerSessionTest, ADamagedLedgerIsSetAsideAndTold) {
  test::WriteText(dir_ / kPrintLedgerFileName, "[2026 id:11]\nMonth09=\n");
  auto session = Start();
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_NE(prompts_.messages[0].find("velunorh-ledger.ini.damaged-20261110"), std::string::npos)
      << prompts_.messages[0];
  session->ChoosePublisher(1);
  EXPECT_EQ(session->MonthlyPreview().ledger, MonthlyLedgerView{});
  session->SetMonthRow(0, true);
  EXPECT_EQ(Print(*session), "");
  EXPECT_EQ(session->MonthlyPreview().ledger.rows[0], LedgerMark::kOnCard);
}

// The message names the cards whose lines were left out, and which lines, so that the
// secretary knows which cards to look at.
TEST_F(LedgerSessionTest, ADamagedLineIsToldWithItsCardAndItsLine) {
  test::WriteText(dir_ / kPrintLedgerFileName,
                  "Month09=2026-11-10 0123456789abcdef\n"
                  "[2026 id:11]\nName=Kovács Anna\nMonth09=2026-11-10 0123456789abcdef\n"
                  "Month10=2026-11-10\nHeader=yesterday\n"
                  "[2026 id:12]\nName=Szabó Béla\nTotal=2026-11-10 0123456789abcdef\n");
  auto session = Start();
  ASSERT_EQ(prompts_.messages.size(), 1u);
  const std::string& told = prompts_.messages[0];
  EXPECT_NE(told.find("3 sora"), std::string::npos) << told;
  EXPECT_NE(told.find("Kovács Anna, 2026/2027. szolgálati év: Okt, fejléc"), std::string::npos)
      << told;
  EXPECT_NE(told.find(LoadString(StringId::LedgerSkippedOutsideCards)), std::string::npos) << told;
  EXPECT_EQ(told.find("Szabó Béla"), std::string::npos) << told;
  EXPECT_NE(told.find("velunorh-ledger.ini.damaged-20261110"), std::string::npos) << told;
}

TEST_F(LedgerSessionTest, ForgettingACardMakesAllOfItDueAgain) {
  auto session = Start();
  session->ChoosePublisher(1);
  session->SetMonthRow(0, true);
  Print(*session);
  ASSERT_NE(session->LedgerRecord(), nullptr);
  EXPECT_EQ(session->ForgetCard(), "");
  EXPECT_EQ(session->LedgerRecord(), nullptr);
  EXPECT_EQ(PrintLedger::Parse(test::ReadText(dir_ / kPrintLedgerFileName))->size(), 0u);
}

// Two copies of the session on one folder, both started on a printed card. A restarts the card;
// B, still holding the old card's lines, prints the header of the new one: the old lines stay
// forgotten, in the file and in B.
TEST_F(LedgerSessionTest, ACardRestartedInOneCopySurvivesTheOthersNextPrint) {
  {
    auto first = Start();
    first->ChoosePublisher(1);
    first->SetPrintHeader(true);
    first->SetMonthRow(0, true);
    first->SetMonthRow(1, true);
    ASSERT_EQ(Print(*first), "");
  }
  auto a = Start();
  auto b = Start();
  a->ChoosePublisher(1);
  b->ChoosePublisher(1);
  ASSERT_EQ(b->MonthlyPreview().ledger.rows[0], LedgerMark::kOnCard);
  EXPECT_EQ(a->ForgetCard(), "");
  // B sees the restart as soon as it looks at the files again.
  EXPECT_TRUE(b->RefreshFromFiles());
  EXPECT_EQ(b->MonthlyPreview().ledger.rows[0], LedgerMark::kNone);
  EXPECT_FALSE(b->RefreshFromFiles());
  b->SetMonthRow(0, false);
  b->SetMonthRow(1, false);
  b->SetPrintHeader(true);
  EXPECT_EQ(Print(*b), "");
  auto later = Start();
  for (Session* copy : {b.get(), later.get()}) {
    copy->ChoosePublisher(1);
    EXPECT_EQ(copy->MonthlyPreview().ledger.rows[0], LedgerMark::kNone);
    EXPECT_EQ(copy->MonthlyPreview().ledger.rows[1], LedgerMark::kNone);
    ASSERT_NE(copy->LedgerRecord(), nullptr);
    EXPECT_TRUE(copy->LedgerRecord()->header.has_value());
  }
}

#ifndef _WIN32
// Every failed save is told, in the words of what failed: a print that stands but is not
// recorded, or a restart of the card that did not happen.
TEST_F(LedgerSessionTest, EveryFailedSaveIsToldNamingTheFileAndWhatFailed) {
  auto session = Start();
  session->ChoosePublisher(1);
  session->SetMonthRow(0, true);
  std::string first, second;
  {
    test::FileSizeLimit full(8);  // as by a full disk
    first = Print(*session);
    second = Print(*session);
  }
  for (const std::string& told : {first, second}) {
    EXPECT_NE(told.find((dir_ / kPrintLedgerFileName).string()), std::string::npos) << told;
    EXPECT_NE(told.find("megtörtént"), std::string::npos) << told;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / kPrintLedgerFileName));
  // What the file does not keep is not shown as on the card; the next print that can be saved
  // is both kept and shown.
  EXPECT_EQ(session->MonthlyPreview().ledger.rows[0], LedgerMark::kNone);
  EXPECT_EQ(Print(*session), "");
  EXPECT_TRUE(std::filesystem::exists(dir_ / kPrintLedgerFileName));
  EXPECT_EQ(session->MonthlyPreview().ledger.rows[0], LedgerMark::kOnCard);

  // "Kártya újrakezdése" that cannot be saved: said so, and the marks stay.
  std::string restart;
  {
    test::FileSizeLimit full(8);
    restart = session->ForgetCard();
  }
  EXPECT_NE(restart.find("nincs újrakezdve"), std::string::npos) << restart;
  EXPECT_EQ(restart.find("megtörtént"), std::string::npos) << restart;
  EXPECT_EQ(session->MonthlyPreview().ledger.rows[0], LedgerMark::kOnCard);
}

// Another running copy of the program holding the ledger's lock, a real process, until
// Release() (or the end).
class LockHolder {
 public:
  explicit LockHolder(const std::filesystem::path& lockFile) {
    int ready[2];
    if (::pipe(ready) != 0 || ::pipe(release_) != 0) {
      ADD_FAILURE() << "no pipe";
      return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(release_[1]);
      auto lock = FileLock::Acquire(lockFile, std::chrono::seconds(1));
      const char said = lock ? 'y' : 'n';
      if (::write(ready[1], &said, 1) != 1) ::_exit(1);
      char end;
      while (::read(release_[0], &end, 1) > 0) {
      }
      ::_exit(lock ? 0 : 1);  // the lock goes with the process
    }
    ::close(ready[1]);
    ::close(release_[0]);
    char said = 'n';
    EXPECT_EQ(::read(ready[0], &said, 1), 1);
    EXPECT_EQ(said, 'y') << "the second process did not get the lock";
    ::close(ready[0]);
  }
  ~LockHolder() { Release(); }
  void Release() {
    if (pid_ <= 0) return;
    ::close(release_[1]);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int release_[2] = {-1, -1};
};

// Another running copy holds the ledger's lock while a print or a restart is saved: the user is
// told that the card need not be printed again, and what they did is saved once the lock comes
// free; when they give up first, nothing of it is kept, and each later failed save is told too.
TEST_F(LedgerSessionTest, ASaveWaitsForTheLockOfAnotherCopyInsteadOfAPrintAgain) {
  struct Case {
    const char* what;
    bool restart;
    bool released;  // the lock comes free while the user is shown the wait
  };
  for (const Case& c :
       {Case{"print, given up", false, false}, Case{"print, saved", false, true},
        Case{"restart, given up", true, false}, Case{"restart, saved", true, true}}) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(dir_ / kPrintLedgerFileName);
    prompts_.messages.clear();
    auto session = Start();
    session->ChoosePublisher(1);
    session->SetMonthRow(0, true);
    if (c.restart) {
      ASSERT_EQ(Print(*session), "");
    }
    LockHolder holder((dir_ / kPrintLedgerFileName).string() + ".lock");
    int tries = 0;
    prompts_.waitToSave = [&](const std::function<bool()>& tryAgain) {
      EXPECT_FALSE(tryAgain());  // held still: the wait goes on
      ++tries;
      if (!c.released) return false;
      holder.Release();
      return tryAgain();
    };
    const std::string said = c.restart ? session->ForgetCard() : Print(*session);
    EXPECT_EQ(said, "");
    EXPECT_EQ(tries, 1);
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_NE(prompts_.messages[0].find(kPrintLedgerFileName), std::string::npos);
    EXPECT_NE(prompts_.messages[0].find(c.restart ? "újrakezd" : "Nem kell újra nyomtatni"),
              std::string::npos)
        << prompts_.messages[0];
    const bool onCard = c.restart != c.released;
    EXPECT_EQ(session->MonthlyPreview().ledger.rows[0],
              onCard ? LedgerMark::kOnCard : LedgerMark::kNone);
    // What the preview shows is what the file keeps.
    const auto onDisk = PrintLedger::Parse(test::ReadText(dir_ / kPrintLedgerFileName));
    EXPECT_EQ(onDisk && !onDisk->empty(), onCard);
    if (!c.released) {
      // Held again: told again.
      prompts_.messages.clear();
      EXPECT_EQ(c.restart ? session->ForgetCard() : Print(*session), "");
      EXPECT_EQ(prompts_.messages.size(), 1u);
      holder.Release();
      EXPECT_EQ(c.restart ? session->ForgetCard() : Print(*session), "");
      EXPECT_EQ(session->MonthlyPreview().ledger.rows[0],
                c.restart ? LedgerMark::kNone : LedgerMark::kOnCard);
    }
    prompts_.waitToSave = nullptr;
  }
}

// A ledger the user made read-only is kept as it is, as the settings file is (whoever runs us):
// the print is not recorded, the preview shows no mark, and the user is told at every print.
TEST_F(LedgerSessionTest, AReadOnlyLedgerIsNotReplacedAndThePrintNotRecorded) {
  namespace fs = std::filesystem;
  const fs::path file = dir_ / kPrintLedgerFileName;
  const std::string text = "[2025 id:99]\nName=Tóth Éva\nHeader=2025-10-03 0f1e2d3c4b5a6978\n";
  test::WriteText(file, text);
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(file, readOnly);
  auto session = Start();
  session->ChoosePublisher(1);
  session->SetMonthRow(0, true);
  const std::string first = Print(*session);
  EXPECT_NE(first.find(LoadString(StringId::LedgerFileReadOnly)), std::string::npos) << first;
  EXPECT_EQ(Print(*session), first);
  EXPECT_EQ(test::ReadText(file), text);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, readOnly);
  EXPECT_EQ(session->MonthlyPreview().ledger.rows[0], LedgerMark::kNone);
}
#endif

}  // namespace
}  // namespace velunorh

namespace velunorh {
namespace {

// Twins: the same names and date of birth, no publisher number.
class LedgerTwinsTest : public LedgerSessionTest {
 protected:
  LedgerTwinsTest() {
    tools::Publisher elder = Reporting("Béla", "Szabó", 0);
    elder.homeAddress = "Fő utca 1";
    elder.dateImmersed = "05061990";
    tools::Publisher younger = Reporting("Béla", "Szabó", 0);
    younger.homeAddress = "Kert utca 2";
    congregation_.current.publishers = {elder, younger};
  }
  static int SlotAt(Session& session, const std::string& address) {
    for (const auto& line : session.PublisherLines()) {
      session.ChoosePublisher(line.slot);
      if (session.Content().homeAddress == address) return line.slot;
    }
    return 0;
  }
};

TEST_F(LedgerTwinsTest, EachTwinKeepsARecordOfItsOwnAlsoAfterTheFileIsReSorted) {
  for (bool reSorted : {false, true}) {
    SCOPED_TRACE(reSorted ? "re-sorted" : "as written");
    std::filesystem::remove(dir_ / kPrintLedgerFileName);
    Write();
    {
      auto session = Start();
      ASSERT_NE(SlotAt(*session, "Fő utca 1"), 0);
      session->SetMonthRow(0, true);
      Print(*session);
    }
    if (reSorted) {
      auto& publishers = congregation_.current.publishers;
      std::swap(publishers[0], publishers[1]);
      Write();
    }
    auto session = Start();
    ASSERT_NE(SlotAt(*session, "Kert utca 2"), 0);
    EXPECT_EQ(session->MonthlyPreview().ledger.rows[0], LedgerMark::kNone);
    EXPECT_EQ(session->HeaderPreview().ledger.note, "");  // nothing recorded for this one
    ASSERT_NE(SlotAt(*session, "Fő utca 1"), 0);
    EXPECT_EQ(session->MonthlyPreview().ledger.rows[0], LedgerMark::kOnCard);
  }
}

TEST_F(LedgerSessionTest, DueUnticksEveryBoxWhoseLineIsAlreadyOnTheCard) {
  {
    auto session = Start();
    session->ChoosePublisher(1);
    session->SetMonthRow(0, true);
    session->SetPrintHeader(true);  // header and September
    Print(*session);
  }
  auto session = Start();
  session->ChoosePublisher(1);
  session->SetMonthRow(0, true);  // ticked before "Esedékes", already on the card
  session->SetPrintHeader(true);  // as at every start, already on the card
  EXPECT_TRUE(session->TickDue());
  const CardSelection& boxes = session->selection();
  EXPECT_FALSE(boxes.printHeader);
  EXPECT_FALSE(boxes.printGenderMarks);
  EXPECT_FALSE(boxes.monthRow[0]);
  EXPECT_TRUE(boxes.monthRow[1]);
  for (int row = 2; row < 12; ++row) EXPECT_FALSE(boxes.monthRow[row]) << row;
}

// Each state an item of the card can be in, against what the three actions do with it: only an
// item of which nothing is on the card is due; one changed since (by its data) is shown and never
// printed over; an option alone (name order, full name, date format, card version) changes
// nothing, also for what a ledger written with the digests of the words holds.
TEST_F(LedgerSessionTest, OnlyWhatIsEmptyOnTheCardIsDueWhateverTheOptions) {
  enum class State { kEmpty, kAsNow, kChangedByData, kChangedByOption, kOldDigestsAndOption };
  struct Case {
    const char* what;
    State state;
    LedgerMark mark;  // of October, which the card has (or not)
    bool headerChanged;
  };
  const Case cases[] = {
      {"empty", State::kEmpty, LedgerMark::kNone, false},
      {"as now", State::kAsNow, LedgerMark::kOnCard, false},
      {"changed by data", State::kChangedByData, LedgerMark::kChanged, true},
      {"changed only by options", State::kChangedByOption, LedgerMark::kOnCard, false},
      {"old digests, options changed", State::kOldDigestsAndOption, LedgerMark::kOnCard, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    congregation_.current.publishers[0] = Reporting("Anna", "Kovács", 11);
    congregation_.current.publishers[0].extensionIndex = 1;
    congregation_.extensions = {{1, 11, "Kovács Anna Mária", "", ""}};
    Write();
    std::filesystem::remove(dir_ / kPrintLedgerFileName);
    std::filesystem::remove(dir_ / "velunorh.INI");
    {
      auto session = Start();
      session->ChoosePublisher(1);
      session->SetMonthRow(0, true);
      if (c.state != State::kEmpty) session->SetMonthRow(1, true);
      session->SetPrintHeader(c.state != State::kEmpty);
      if (c.state == State::kOldDigestsAndOption) {
        // As the program wrote it before the data digests: the digests of the words.
        const CardContent& card = session->Content();
        CardRecord record;
        record.header = LedgerStamp{kPrintDay, HeaderDigest(card, false)};
        record.rows[0] = LedgerStamp{kPrintDay, RowDigest(card.rows[0])};
        record.rows[1] = LedgerStamp{kPrintDay, RowDigest(card.rows[1])};
        test::WriteText(dir_ / kPrintLedgerFileName,
                        PrintLedger::TextOf({{{2026, "id:11"}, record}}));
      } else {
        EXPECT_EQ(Print(*session), "");
      }
    }
    if (c.state == State::kChangedByData) {
      congregation_.current.publishers[0].months[9].hours = 11;       // October corrected
      congregation_.current.publishers[0].homeAddress = "Új utca 3";  // moved since
      Write();
    }
    auto session = Start();
    session->ChoosePublisher(1);
    if (c.state == State::kChangedByOption || c.state == State::kOldDigestsAndOption) {
      session->SetLastNameFirst(!session->settings().lastNameFirst);
      session->SetUseFullName(false);
      OptionsValues options = session->Options();
      options.dateFormat = 2;
      options.cardVersion = options.cardVersion == 0 ? 1 : 0;
      session->ApplyOptions(options);
      ASSERT_NE(session->Content().newForm, Start()->Content().newForm);
    }
    EXPECT_EQ(session->MonthlyPreview().ledger.rows[1], c.mark);
    EXPECT_EQ(session->MonthlyPreview().ledger.rows[0], LedgerMark::kOnCard);
    EXPECT_EQ(session->HeaderPreview().ledger.changed, c.headerChanged);
    if (c.headerChanged) {
      EXPECT_EQ(
          session->HeaderPreview().ledger.note,
          "Fejléc nyomtatva: 2026.11.10., azóta változott: javítsd kézzel („Javítva kézzel”), "
          "vagy kezdj új kártyát");
    }

    // "Nyomtatás" with October ticked asks first unless nothing of it is on the card; left
    // out, October goes only onto the card without it.
    const bool empty = c.state == State::kEmpty;
    prompts_.overprintQuestions.clear();
    prompts_.overprintAnswers = {OverprintAnswer::kLeaveOut};
    session->SetMonthRow(1, true);
    const auto page = session->SettleOverprint(session->Content(), session->CardPage());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->grid.monthRow[1], empty);
    EXPECT_EQ(prompts_.overprintQuestions.size(), empty ? 0u : 1u);
    prompts_.overprintAnswers.clear();

    // "Esedékes" and "Csak esedékes" take exactly the empty items.
    EXPECT_EQ(session->TickDue(), empty);
    EXPECT_EQ(session->selection().monthRow[1], empty);
    EXPECT_EQ(session->selection().printHeader, empty);
    EXPECT_FALSE(session->selection().monthRow[0]);
    const Session::DueGroupPlan plan = session->PlanDueGroupPrint();
    bool annaPrints = false;
    for (const Session::DueCard& card : plan.cards) {
      if (card.slot != 1) continue;
      annaPrints = true;
      EXPECT_TRUE(card.page.grid.monthRow[1]);
      EXPECT_TRUE(card.page.header.printHeader);
      EXPECT_FALSE(card.page.grid.monthRow[0]);
    }
    EXPECT_EQ(annaPrints, empty);
  }
}

// A print with lines the card already holds (the header box is ticked at every start) names
// them first; the answer decides the page: without them (the default), all of it, or none.
TEST_F(LedgerSessionTest, APrintOverLinesOnTheCardAsksFirst) {
  {
    auto session = Start();
    session->ChoosePublisher(1);
    session->SetMonthRow(0, true);
    session->SetPrintHeader(true);
    Print(*session);  // the header and September
  }
  struct Case {
    OverprintAnswer answer;
    bool prints, header, september;
  };
  for (const Case& c : {Case{OverprintAnswer::kLeaveOut, true, false, false},
                        Case{OverprintAnswer::kPrintAnyway, true, true, true},
                        Case{OverprintAnswer::kCancel, false, false, false}}) {
    prompts_.overprintQuestions.clear();
    prompts_.overprintAnswers = {c.answer};
    auto session = Start();
    session->ChoosePublisher(1);
    session->SetMonthRow(0, true);
    session->SetMonthRow(1, true);
    session->SetPrintHeader(true);
    const auto page = session->SettleOverprint(session->Content(), session->CardPage());
    ASSERT_EQ(prompts_.overprintQuestions.size(), 1u);
    EXPECT_NE(prompts_.overprintQuestions[0].find("Anna"), std::string::npos);
    EXPECT_NE(prompts_.overprintQuestions[0].find(": Fejléc, Szept."), std::string::npos)
        << prompts_.overprintQuestions[0];
    ASSERT_EQ(page.has_value(), c.prints);
    if (!page) continue;
    EXPECT_EQ(page->header.printHeader, c.header);
    EXPECT_EQ(page->grid.monthRow[0], c.september);
    EXPECT_TRUE(page->grid.monthRow[1]);  // October is empty on the card
  }
  // Nothing on the card under the ticked lines: no question.
  prompts_.overprintQuestions.clear();
  auto session = Start();
  session->ChoosePublisher(1);
  session->SetMonthRow(1, true);
  EXPECT_TRUE(session->SettleOverprint(session->Content(), session->CardPage()));
  EXPECT_TRUE(prompts_.overprintQuestions.empty());
}

#ifndef _WIN32
// A save that fails takes back exactly what was recorded and forgotten since the last save: the
// forgotten card is back (and not erased from the file by the next save), the new one is gone.
TEST(PrintLedger, AFailedSaveTakesBackWhatItCouldNotKeep) {
  test::TempDir dir;
  const auto file = dir / kPrintLedgerFileName;
  PrintLedger ledger;
  ledger.Load(file, kPrintDay);
  const CardContent card = TwoMonthCard();
  ledger.Record({"id:11", &card, Ticked({0}, true, false)}, kPrintDay);
  ASSERT_TRUE(ledger.Save());
  const CardRecord kept = *ledger.Find(2026, "id:11");

  ledger.Record({"id:12", &card, Ticked({0, 1}, false, true)}, kPrintDay);
  ledger.Record({"id:11", &card, Ticked({1}, false, false)}, kPrintDay);
  ASSERT_TRUE(ledger.Forget(2026, "id:11"));
  {
    test::FileSizeLimit full(8);  // as by a full disk
    EXPECT_FALSE(ledger.Save());
  }
  ledger.DropUnsaved();
  ASSERT_NE(ledger.Find(2026, "id:11"), nullptr);
  EXPECT_EQ(*ledger.Find(2026, "id:11"), kept);
  EXPECT_EQ(ledger.Find(2026, "id:12"), nullptr);

  ledger.Record({"id:13", &card, Ticked({0}, false, false)}, kPrintDay);
  ASSERT_TRUE(ledger.Save());
  const auto onDisk = PrintLedger::Parse(test::ReadText(file));
  ASSERT_TRUE(onDisk);
  EXPECT_EQ(onDisk->size(), 2u);
  EXPECT_EQ(onDisk->at({2026, "id:11"}), kept);
  EXPECT_TRUE(onDisk->contains({2026, "id:13"}));
}
#endif

TEST(PrintLedger, ALedgerIsNeverWrittenLargerThanItsReaderTakes) {
  test::TempDir dir;
  const auto file = dir / kPrintLedgerFileName;
  PrintLedger ledger;
  ledger.Load(file, kPrintDay);
  CardContent card = TwoMonthCard();
  card.displayName = std::string(8000, 'x');  // a name for people to read; the file keeps it
  const CardPageInput page = Ticked({0, 1}, true, true);
  for (int key = 10; key < 10 + 4200; ++key)
    ledger.Record({"id:" + std::to_string(key), &card, page}, kPrintDay);
  ASSERT_GT(ledger.Text().size(), PrintLedger::kMaxBytes);
  std::string error;
  EXPECT_FALSE(ledger.Save(&error));
  EXPECT_NE(error.find("MB"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(LedgerSessionTest, ALedgerFarLargerThanYearsOfCardsIsSetAsideUnreadAndTold) {
  const auto file = dir_ / kPrintLedgerFileName;
  test::WriteText(file, "[2026 id:11]\nMonth09=2026-11-10 0123456789abcdef\n");
  std::filesystem::resize_file(file, PrintLedger::kMaxBytes + 1);
  auto session = Start();
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0],
            LoadStringWith(StringId::LedgerTooLarge,
                           {std::to_string(PrintLedger::kMaxBytes / (1024 * 1024)),
                            PathText(dir_ / "velunorh-ledger.ini.damaged-20261110")}));
  EXPECT_EQ(std::filesystem::file_size(dir_ / "velunorh-ledger.ini.damaged-20261110"),
            PrintLedger::kMaxBytes + 1);
  // A new ledger from here on.
  EXPECT_TRUE(session->CanTellDue());
  session->ChoosePublisher(1);
  EXPECT_EQ(session->LedgerRecord(), nullptr);
  session->SetMonthRow(0, true);
  EXPECT_EQ(Print(*session), "");
  EXPECT_LT(std::filesystem::file_size(file), 1000u);
}

TEST_F(LedgerSessionTest, ALedgerMadeReadableAgainIsUsedWithoutARestart) {
  const auto file = dir_ / kPrintLedgerFileName;
  std::filesystem::create_directory(file);  // in the way, as a share not mounted yet might be
  auto session = Start();
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_FALSE(session->CanTellDue());
  EXPECT_FALSE(session->RefreshFromFiles());  // still unreadable: not told again
  EXPECT_EQ(prompts_.messages.size(), 1u);

  std::filesystem::remove(file);
  test::WriteText(file, "[2026 id:11]\nMonth09=2026-11-10 0123456789abcdef\n");
  EXPECT_TRUE(session->RefreshFromFiles());
  EXPECT_TRUE(session->CanTellDue());
  EXPECT_EQ(prompts_.messages.size(), 1u);
  session->ChoosePublisher(1);
  ASSERT_NE(session->LedgerRecord(), nullptr);
  EXPECT_FALSE(session->RefreshFromFiles());
  // Its records are kept by the next save.
  session->SetMonthRow(1, true);
  EXPECT_EQ(Print(*session), "");
  EXPECT_NE(test::ReadText(file).find("Month09=2026-11-10 0123456789abcdef"), std::string::npos);
}

}  // namespace
}  // namespace velunorh
