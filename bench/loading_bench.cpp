// Loading the data at start-up against its floor: reading the bytes of the same files once.
// Both run side by side in one process on the full-size folder.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <vector>

#include "bench/bench_folder.h"
#include "bench/full_congregation.h"
#include "companion/congregation_data.h"

namespace velunorh::bench {
namespace {

const BenchFolder& Folder() {
  static const BenchFolder folder;
  return folder;
}

// Every file the load opens.
std::vector<std::filesystem::path> DataFiles(const DataPaths& paths) {
  return {paths.PublisherFile(), paths.ExtensionFile(), paths.RemarkFile(),
          paths.PreviousYearFile(), paths.PreviousYearRemarkFile()};
}

std::int64_t TotalSize(const std::vector<std::filesystem::path>& files) {
  std::int64_t total = 0;
  for (const auto& file : files)
    total += static_cast<std::int64_t>(std::filesystem::file_size(file));
  return total;
}

void BM_LoadAllData(benchmark::State& state) {
  const DataPaths paths{Folder().path()};
  int records = 0, previousRecords = 0, extensions = 0;
  for (auto _ : state) {
    CongregationData data(paths);
    if (!data.AllocateTables()) {
      state.SkipWithError("the tables could not be allocated");
      break;
    }
    bool stopRequested = false;
    data.LoadAllData(stopRequested);
    records = data.current.count;
    previousRecords = data.previous.count;
    extensions = data.ExtensionCount();
    benchmark::DoNotOptimize(data.current.slots.data());
  }
  // A folder the loader only partly took would make the figure meaningless.
  if (records != kPublishers + 1 || previousRecords != kPublishers + 1 ||
      extensions != kExtensionRecords + 1)
    state.SkipWithError("the full-size folder did not load whole");
  state.SetBytesProcessed(state.iterations() * TotalSize(DataFiles(paths)));
}

void BM_ReadDataFileBytes(benchmark::State& state) {
  const auto files = DataFiles(DataPaths{Folder().path()});
  for (auto _ : state) {
    for (const auto& file : files) {
      std::ifstream in(file, std::ios::binary);
      std::vector<char> bytes(std::filesystem::file_size(file));
      in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      benchmark::DoNotOptimize(bytes.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * TotalSize(files));
}

BENCHMARK(BM_LoadAllData)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadDataFileBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velunorh::bench

BENCHMARK_MAIN();
