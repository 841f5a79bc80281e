// Saving the print ledger after a print, as a congregation's years of cards make it large: one
// section per publisher and service year (150 publishers reach 1,000 sections in seven years).
// Each save records one card, then locks, reads the file again, merges and writes it whole.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "session/print_ledger.h"

namespace velunorh::bench {
namespace {

constexpr CalendarDate kPrintDay{2026, 11, 10};

// A full year's card: every month row and the total print a text.
CardContent FullCard() {
  CardContent card;
  card.hasPublisher = true;
  card.displayName = "Kovács Anna";
  card.year = ServiceYear::FromDate(2026, 11);
  for (int row = 0; row < 12; ++row) {
    card.rows[row].month = ServiceYear::RowMonth(row);
    card.rows[row].printable = true;
    card.rows[row].cells = {"1", "2", std::to_string(10 + row), "3", "4"};
  }
  card.printedTotals = {"12", "24", "186", "36", "48"};
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
