// Saving the print ledger after a print, as a congregation's years of cards make it large: one
// section per publisher and service year (150 publishers reach 1,000 sections in seven years).
// Each save records one card, then locks, reads the file again, merges and writes it whole.
// BM_SaveLedger times PrintLedger::Save alone; BM_SaveAfterPrint the whole way the program goes
// after a print, from the session's "print recorded" to the renamed file, on the full-size data
// folder with the ledger read at start.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "bench/bench_folder.h"
#include "bench/full_congregation.h"
#include "session/print_ledger.h"
#include "session/session.h"
#include "session/user_prompts.h"

namespace velunorh::bench {
namespace {

constexpr CalendarDate kPrintDay{2026, 11, 10};

// A full year's card: every month row and the total print a text, the header is filled, and
// the ledger keeps both card versions' figures and a remark now and then.
CardContent FullCard() {
  CardContent card;
  card.hasPublisher = true;
  card.displayName = "Kovács Anna";
  card.familyName = "Kovács";
  card.givenName = "Anna";
  card.homeAddress = "1117 Budapest, Fő utca 12. II/3.";
  card.homeTelephone = "06 1 234 5678";
  card.mobileTelephone = "06 30 123 4567";
  card.datesOfBirth[0] = "03/02/1970";
  card.datesImmersed[0] = "07/14/2001";
  card.sex = SexMark::kFemale;
  card.baptized = true;
  card.newForm = true;
  card.year = ServiceYear::FromDate(2026, 11);
  for (int row = 0; row < 12; ++row) {
    CardMonthRow& line = card.rows[row];
    line.month = ServiceYear::RowMonth(row);
    line.printable = true;
    const std::string hours = std::to_string(10 + row) + ".5";
    line.cells = {"1", "2", hours, "3", "4"};
    line.otherFormCells = {"", "1", hours, "", "3", "4"};
    if (row % 4 == 0) line.remark = "Kisegítő úttörő";
  }
  card.printedTotals = {"12", "24", "186", "36", "48"};
  card.otherFormTotals = {"", "12", "186", "", "36", "48"};
  return card;
}

CardPageInput EveryLine() {
  CardPageInput page;
  page.header.printHeader = true;
  page.grid.monthRow.fill(true);
  page.grid.printTotal = true;
  return page;
}

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("velunorh-ledger-bench-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A ledger of `sections` cards of one service year, the full card recorded on each.
void WriteLedger(const std::filesystem::path& file, int sections) {
  const CardContent card = FullCard();
  const CardPageInput page = EveryLine();
  PrintLedger ledger;
  ledger.Load(file, kPrintDay);
  // Ids above 10 are kept as they are; beyond five digits the names' digests take over.
  for (int i = 0; i < sections; ++i) {
    char key[32];
    std::snprintf(key, sizeof key, i < 90000 ? "id:%d" : "nm:%016x", i < 90000 ? 10 + i : i);
    ledger.Record({key, &card, page}, kPrintDay);
  }
  ledger.Save();
}

// The window's prompts when nothing is to be asked: a message would mean the figure is wrong.
class NoPrompts : public UserPrompts {
 public:
  std::optional<int> ChooseDataLocation(int, bool) override { return std::nullopt; }
  bool CheckPassword(const PublisherRecord&) override { return true; }
  bool ConfirmNewData() override { return false; }
  OverprintAnswer AskOverprint(const std::string& question) override {
    messages.push_back(question);
    return OverprintAnswer::kCancel;
  }
  bool WaitToSave(const std::string& message, const std::function<bool()>&) override {
    messages.push_back(message);
    return false;
  }
  void ShowMessage(const std::string& message) override { messages.push_back(message); }
  std::vector<std::string> messages;
};

void BM_SaveAfterPrint(benchmark::State& state) {
  const BenchFolder folder;
  WriteLedger(folder.path() / kPrintLedgerFileName, static_cast<int>(state.range(0)));
  NoPrompts prompts;
  Session session({folder.path() / "velunorh.INI", folder.path(), folder.path() / "floppy"},
                  prompts);
  if (session.StartUp(ServiceYear::FromDate(kTodayYear, kTodayMonth)) != SessionStatus::kRunning ||
      !prompts.messages.empty()) {
    state.SkipWithError("the session did not start without questions");
    return;
  }
  const int slot = session.data().FindPublisherById(kSubjectId);
  session.ChoosePublisher(slot);
  for (int row = 0; row < 12; ++row) session.SetMonthRow(row, true);
  session.SetPrintTotal(true);
  session.SetPrintHeader(true);
  for (auto _ : state) {
    const std::string problem =
        session.RecordPrinted({{slot, &session.Content(), session.CardPage()}});
    if (!problem.empty()) {
      state.SkipWithError("the ledger could not be saved");
      break;
    }
  }
  std::error_code ec;
  const auto bytes = std::filesystem::file_size(folder.path() / kPrintLedgerFileName, ec);
  state.counters["file_MB"] = ec ? 0.0 : static_cast<double>(bytes) / (1024 * 1024);
}
BENCHMARK(BM_SaveAfterPrint)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_SaveLedger(benchmark::State& state) {
  const int sections = static_cast<int>(state.range(0));
  const TemporaryFolder folder;
  const CardContent card = FullCard();
  const CardPageInput page = EveryLine();
  PrintLedger ledger;
  ledger.Load(folder.path() / kPrintLedgerFileName, kPrintDay);
  // Ids above 10 are kept as they are; beyond five digits the names' digests take over.
  for (int i = 0; i < sections; ++i) {
    char key[32];
    std::snprintf(key, sizeof key, i < 90000 ? "id:%d" : "nm:%016x", i < 90000 ? 10 + i : i);
    ledger.Record({key, &card, page}, kPrintDay);
  }
  if (!ledger.Save()) state.SkipWithError("the ledger could not be saved");
  const auto bytes = static_cast<std::int64_t>(ledger.Text().size());
  for (auto _ : state) {
    ledger.Record({"id:10", &card, page}, kPrintDay);
    if (!ledger.Save()) {
      state.SkipWithError("the ledger could not be saved");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["file_MB"] = static_cast<double>(bytes) / (1024 * 1024);
}
BENCHMARK(BM_SaveLedger)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velunorh::bench

BENCHMARK_MAIN();
