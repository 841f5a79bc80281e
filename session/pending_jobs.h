#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "session/print_ledger.h"

namespace velunorh {

// The program's own file beside the ledger that keeps the print jobs not yet finished.
inline constexpr const char* kPendingJobsFileName = "velunorh-jobs.ini";

// A print job recorded in the ledger that the print system may still cancel: where it waits,
// and what it stamped, to take back if it never reaches the card.
struct PendingJob {
  std::string computer;  // whose print system holds it: job ids are that system's
  std::string printer;
  int id = 0;
  std::vector<LedgerEntry> recorded;
  bool operator==(const PendingJob&) const = default;
};

// What the print system finally said of a job followed.
enum class JobFate { kCompleted, kCancelled, kUnknown };

// The jobs still followed, in a settings file beside the ledger, so that a job still waiting when
// the program closes is followed again at the next start:
//
//   [Job 1]
//   Computer=iroda
//   Printer=CARD
//   Id=12
//
//   [Job 1 Card 1]
//   Card=2025 id:1234            (the ledger's section of the card)
//   Name=Kovács Anna
//   Header=2025-11-03 0f1e2d3c4b5a6978 2025-10-01 0123456789abcdef
//   Month10=2025-11-03 89abcdef01234567
//
// A line's value is the stamp the job wrote, then the stamp the line carried before, if any.
// Every change is made under a lock beside the file on what is on disk then, so that copies of
// the program sharing the folder never lose each other's jobs.
class PendingJobs {
 public:
  // A job is some 300 bytes a card: thousands of jobs.
  static constexpr std::size_t kMaxBytes = 1024 * 1024;
  static constexpr std::chrono::milliseconds kLockWait{1000};

  static std::string TextOf(const std::vector<PendingJob>& jobs);
  // The jobs of a file's text. A job of which anything is out of form (a section, a key, a
  // stamp) is left out whole and counted in `skipped`: half of a job taken back is not right.
  static std::vector<PendingJob> Parse(std::string_view text, int* skipped = nullptr);

  explicit PendingJobs(std::filesystem::path file) : file_(std::move(file)) {}
  const std::filesystem::path& file() const { return file_; }

  // Under the lock: the jobs on disk are read, `change` may change them (true when it did), and
  // they are written back. A file with jobs left out, or too large to read, is copied (or moved)
  // aside first, to `setAside`. False, with `error`, when the lock stayed busy or the file could
  // be neither read nor written: then nothing is written.
  bool Change(const std::function<bool(std::vector<PendingJob>&)>& change,
              std::string* error = nullptr, std::filesystem::path* setAside = nullptr,
              const CalendarDate& today = Today());

 private:
  std::filesystem::path file_;
};

}  // namespace velunorh
