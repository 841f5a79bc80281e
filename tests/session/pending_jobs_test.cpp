// The jobs still followed beside the ledger: the file read back, damage left out without losing
// the rest, two copies' changes merged, and through the session what a later start does with a
// job that was cancelled, printed or forgotten while the program was closed.
#include "session/pending_jobs.h"

#include <gtest/gtest.h>

#include "base/platform.h"
#include "base/today.h"
#include "no_questions.h"
#include "session/session.h"
#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh {
namespace {

LedgerEntry Entry(const std::string& key, const std::string& name, std::vector<int> lines,
                  bool withBefore) {
  LedgerEntry entry;
  entry.serviceYear = 2026;
  entry.key = key;
  entry.name = name;
  for (int line : lines) {
    entry.stamped[line] = LedgerStamp{{2026, 11, 10}, 0x0123456789abcdefULL + line};
    if (withBefore) entry.before[line] = LedgerStamp{{2026, 10, 2}, 0xfedcba9876543210ULL};
  }
  return entry;
}

PendingJob Job(int id, std::string printer = "CARD") {
  return {"iroda", std::move(printer), id, {Entry("id:7", "Kovács Anna", {0, 2}, false)}};
}

TEST(PendingJobs, TheFileReadsBackAsWritten) {
  const std::vector<PendingJob> jobs{
      {"iroda",
       "Kártya nyomtató",
       12,
       {Entry("id:7", "Kovács Anna", {0, 2, 13}, true), Entry("id:9", "", {12}, false)}},
      {"", "PLAIN", 3, {Entry("nm:0123456789abcdef", "Szabó Béla", {1}, false)}},
  };
  int skipped = -1;
  EXPECT_EQ(PendingJobs::Parse(PendingJobs::TextOf(jobs), &skipped), jobs);
  EXPECT_EQ(skipped, 0);
  EXPECT_TRUE(PendingJobs::Parse(PendingJobs::TextOf({})).empty());
}

// A job of which anything is out of form is left out whole; the job beside it stays.
TEST(PendingJobs, ADamagedJobIsLeftOutWholeAndTheOthersRead) {
  const std::string good = PendingJobs::TextOf({Job(7)});
  const std::string card = "Card=2026 id:5\nHeader=2026-11-10 0123456789abcdef\n";
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"id not a number", "[Job 2]\nPrinter=CARD\nId=x12\n[Job 2 Card 1]\n" + card},
      {"id zero", "[Job 2]\nPrinter=CARD\nId=0\n[Job 2 Card 1]\n" + card},
      {"no printer", "[Job 2]\nId=12\n[Job 2 Card 1]\n" + card},
      {"a key of no job", "[Job 2]\nPrinter=CARD\nId=12\nColour=red\n[Job 2 Card 1]\n" + card},
      {"no card", "[Job 2]\nPrinter=CARD\nId=12\n"},
      {"card without its job", "[Job 2 Card 1]\n" + card},
      {"a stamp cut short",
       "[Job 2]\nPrinter=CARD\nId=12\n[Job 2 Card 1]\nCard=2026 id:5\nHeader=2026-11-10 0123\n"},
      {"a before stamp out of form",
       "[Job 2]\nPrinter=CARD\nId=12\n[Job 2 Card 1]\nCard=2026 id:5\n"
       "Header=2026-11-10 0123456789abcdef 2026-13-10 0123456789abcdef\n"},
      {"a card not a ledger's",
       "[Job 2]\nPrinter=CARD\nId=12\n[Job 2 Card 1]\nCard=26 x\nHeader=2026-11-10 "
       "0123456789abcdef\n"},
      {"a card with nothing stamped",
       "[Job 2]\nPrinter=CARD\nId=12\n[Job 2 Card 1]\nCard=2026 id:5\n"},
      {"one damaged card of two",
       "[Job 2]\nPrinter=CARD\nId=12\n[Job 2 Card 1]\n" + card +
           "[Job 2 Card 2]\nCard=2026 id:6\nMonth13=2026-11-10 0123456789abcdef\n"},
      {"a section not of a job", "[Something]\nKey=1\n"},
      {"a job repeated", "[Job 1]\nPrinter=OTHER\nId=99\n"},
      {"a printer with a line break inside",
       "[Job 2]\nPrinter=CA\rRD\nId=12\n[Job 2 Card 1]\n" + card},
  };
  for (const auto& c : cases) {
    int skipped = 0;
    EXPECT_EQ(PendingJobs::Parse(good + c.text, &skipped), std::vector<PendingJob>{Job(7)})
        << c.what;
    EXPECT_GT(skipped, 0) << c.what;
  }
}

// Found by fuzzing: a name that would not read back as one line is kept empty, both ways.
TEST(PendingJobs, ACardNameWithALineBreakReadsBackEmpty) {
  const std::string text =
      "[Job 2]\nPrinter=CARD\nId=12\n[Job 2 Card 1]\nCard=2026 id:5\nName=Ko\rvács\n"
      "Header=2026-11-10 0123456789abcdef\n";
  const std::vector<PendingJob> jobs = PendingJobs::Parse(text);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].recorded.at(0).name, "");
  EXPECT_EQ(PendingJobs::Parse(PendingJobs::TextOf(jobs)), jobs);
}

class PendingJobsFileTest : public ::testing::Test {
 protected:
  static bool Add(PendingJobs& file, const PendingJob& job) {
    return file.Change([&](std::vector<PendingJob>& jobs) {
      jobs.push_back(job);
      return true;
    });
  }
  std::vector<PendingJob> OnDisk() const { return PendingJobs::Parse(test::ReadText(file_)); }

  test::TempDir dir_;
  std::filesystem::path file_ = dir_ / kPendingJobsFileName;
};

TEST_F(PendingJobsFileTest, TwoCopiesOnOneFolderKeepEachOthersJobs) {
  PendingJobs mine(file_), theirs(file_);
  ASSERT_TRUE(Add(mine, Job(1)));
  ASSERT_TRUE(Add(theirs, Job(2)));
  ASSERT_TRUE(mine.Change([](std::vector<PendingJob>& jobs) {
    std::erase_if(jobs, [](const PendingJob& job) { return job.id == 1; });
    return true;
  }));
  EXPECT_EQ(OnDisk(), std::vector<PendingJob>{Job(2)});

  // While another holds the lock nothing is written, and that is said.
  const std::string before = test::ReadText(file_);
  std::filesystem::path lockFile = file_;
  lockFile += ".lock";
  {
    auto held = FileLock::Acquire(lockFile, std::chrono::milliseconds(0));
    ASSERT_TRUE(held);
    std::string error;
    EXPECT_FALSE(
        mine.Change([](std::vector<PendingJob>& jobs) { return jobs.clear(), true; }, &error));
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(test::ReadText(file_), before);
}

TEST_F(PendingJobsFileTest, WhatCannotBeReadIsKeptAsideBeforeTheFileIsWritten) {
  const std::string damaged =
      PendingJobs::TextOf({Job(7)}) + "[Job 2]\nPrinter=CARD\nId=oops\n[Job 2 Card 1]\n";
  test::WriteText(file_, damaged);
  PendingJobs file(file_);
  std::filesystem::path aside;
  std::vector<PendingJob> seen;
  ASSERT_TRUE(file.Change(
      [&](std::vector<PendingJob>& jobs) {
        seen = jobs;
        return false;
      },
      nullptr, &aside, {2026, 11, 10}));
  EXPECT_EQ(seen, std::vector<PendingJob>{Job(7)});
  EXPECT_EQ(aside.filename(), std::string(kPendingJobsFileName) + ".damaged-20261110");
  EXPECT_EQ(test::ReadText(aside), damaged);
  EXPECT_EQ(test::ReadText(file_), PendingJobs::TextOf({Job(7)}));

  // Far larger than jobs make: moved aside whole, and the list starts empty.
  test::WriteText(file_, std::string(PendingJobs::kMaxBytes + 1, 'x'));
  aside.clear();
  ASSERT_TRUE(Add(file, Job(3)));
  ASSERT_TRUE(file.Change([](std::vector<PendingJob>&) { return false; }, nullptr, &aside));
  EXPECT_TRUE(aside.empty());  // set aside by the change before, not again
  EXPECT_EQ(OnDisk(), std::vector<PendingJob>{Job(3)});
  int copies = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
    copies += entry.path().filename().string().find(".damaged-") != std::string::npos;
  EXPECT_EQ(copies, 2);
}

// A job recorded and still waiting when the program closed: the next start follows it again.
class KeptJobSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::Congregation c;
    tools::Publisher p;
    p.givenName = "Anna";
    p.familyName = "Kovács";
    p.id = 11;
    for (int month : {8, 9}) {  // September and October
      p.months[month].newForm = true;
      p.months[month].hours = 10;
    }
    c.current.publishers = {p};
    tools::WriteCongregation(c, dir_.path());
  }
  std::unique_ptr<Session> Start() {
    auto session = std::make_unique<Session>(
        Session::Places{dir_ / "velunorh.INI", dir_.path(), dir_ / "floppy"}, prompts_);
    EXPECT_EQ(session->StartUp(ServiceYear::FromDate(2026, 11)), SessionStatus::kRunning);
    session->ChoosePublisher(1);
    return session;
  }
  // October printed as job `id` on CARD, then the program closed with the job still waiting.
  void PrintAndClose(int id) {
    auto session = Start();
    session->SetPrintHeader(false);
    session->SetMonthRow(1, true);
    std::vector<LedgerEntry> recorded;
    ASSERT_EQ(session->RecordPrinted({{1, &session->Content(), session->CardPage()}}, &recorded),
              "");
    const PendingJob job = session->KeepFollowing("CARD", id, recorded);
    EXPECT_EQ(job.computer, ComputerName());
  }
  static bool OctoberOnCard(Session& session) {
    return session.MonthlyPreview().ledger.rows[1] == LedgerMark::kOnCard;
  }
  std::vector<PendingJob> OnDisk() const {
    return PendingJobs::Parse(test::ReadText(dir_ / kPendingJobsFileName));
  }

  ScopedToday today_{{2026, 11, 10}};
  test::TempDir dir_;
  test::NoQuestions prompts_{test::NoQuestions::Messages::kKeep};
};

TEST_F(KeptJobSessionTest, AJobCancelledWhileClosedIsTakenBackOnceAndTold) {
  PrintAndClose(12);
  auto session = Start();
  auto other = Start();  // another copy on the same folder
  ASSERT_TRUE(OctoberOnCard(*session));
  const std::vector<PendingJob> kept = session->KeptJobs();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].id, 12);
  EXPECT_EQ(kept[0].printer, "CARD");
  ASSERT_EQ(other->KeptJobs().size(), 1u);

  const std::string told = session->JobEnded(kept[0], JobFate::kCancelled);
  EXPECT_NE(told.find("„CARD”"), std::string::npos) << told;
  EXPECT_NE(told.find("Anna"), std::string::npos) << told;
  EXPECT_NE(told.find("2026/2027. szolgálati év: Okt"), std::string::npos) << told;
  EXPECT_FALSE(OctoberOnCard(*session));
  EXPECT_TRUE(OnDisk().empty());
  // The other copy sees the same end later: already done, so nothing is said twice.
  EXPECT_EQ(other->JobEnded(kept[0], JobFate::kCancelled), "");
  EXPECT_FALSE(OctoberOnCard(*Start()));
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(KeptJobSessionTest, APrintedOrForgottenJobKeepsItsRecordAndIsFollowedNoMore) {
  for (const JobFate fate : {JobFate::kCompleted, JobFate::kUnknown}) {
    PrintAndClose(20 + static_cast<int>(fate));
    auto session = Start();
    const std::vector<PendingJob> kept = session->KeptJobs();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(session->JobEnded(kept[0], fate), "");
    EXPECT_TRUE(OctoberOnCard(*session));
    EXPECT_TRUE(OnDisk().empty());
    EXPECT_TRUE(Start()->KeptJobs().empty());
  }
}

TEST_F(KeptJobSessionTest, AnotherComputersJobIsLeftToIt) {
  PendingJob theirs = Job(5);
  theirs.computer = ComputerName() + "-other";
  test::WriteText(dir_ / kPendingJobsFileName, PendingJobs::TextOf({theirs}));
  PrintAndClose(12);
  auto session = Start();
  const std::vector<PendingJob> kept = session->KeptJobs();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].id, 12);
  session->JobEnded(kept[0], JobFate::kCompleted);
  EXPECT_EQ(OnDisk(), std::vector<PendingJob>{theirs});
}

TEST_F(KeptJobSessionTest, ATakeBackTheLedgerCouldNotKeepIsTriedAgainAtTheNextStart) {
  PrintAndClose(12);
  auto session = Start();
  const std::vector<PendingJob> kept = session->KeptJobs();
  ASSERT_EQ(kept.size(), 1u);
  std::filesystem::path ledgerLock = dir_ / kPrintLedgerFileName;
  ledgerLock += ".lock";
  {
    // Another copy holds the ledger, and the user gives up waiting.
    auto held = FileLock::Acquire(ledgerLock, std::chrono::milliseconds(0));
    ASSERT_TRUE(held);
    session->JobEnded(kept[0], JobFate::kCancelled);
  }
  EXPECT_EQ(OnDisk(), kept);
  EXPECT_TRUE(OctoberOnCard(*Start()));
  auto next = Start();
  const std::vector<PendingJob> again = next->KeptJobs();
  ASSERT_EQ(again, kept);
  EXPECT_NE(next->JobEnded(again[0], JobFate::kCancelled).find("Okt"), std::string::npos);
  EXPECT_FALSE(OctoberOnCard(*next));
  EXPECT_TRUE(OnDisk().empty());
}

}  // namespace
}  // namespace velunorh
