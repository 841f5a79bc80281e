// The list of print jobs still followed: what parses must write to a text that reads back to the
// same jobs with nothing left out, and a change through the file must keep every job it read and
// the original of a damaged file aside byte for byte.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/whole_file.h"
#include "fuzz_support.h"
#include "session/pending_jobs.h"

namespace velunorh::fuzz {
namespace {

void CheckRoundTrip(std::string_view text) {
  int skipped = -1;
  const std::vector<PendingJob> jobs = PendingJobs::Parse(text, &skipped);
  Check(skipped >= 0);
  const std::string written = PendingJobs::TextOf(jobs);
  int skippedAgain = -1;
  Check(PendingJobs::Parse(written, &skippedAgain) == jobs);
  Check(skippedAgain == 0);
}

void CheckChange(std::string_view text) {
  const auto& folder = ScratchFolder();
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
    std::filesystem::remove_all(entry.path(), ignored);
  const auto file = folder / kPendingJobsFileName;
  PutFile(file, text);
  int skipped = 0;
  const std::vector<PendingJob> read = PendingJobs::Parse(text, &skipped);
  std::vector<PendingJob> seen;
  std::filesystem::path aside;
  Check(PendingJobs(file).Change(
      [&](std::vector<PendingJob>& jobs) {
        seen = jobs;
        return false;
      },
      nullptr, &aside, {2026, 11, 10}));
  const bool tooLarge = text.size() > PendingJobs::kMaxBytes;
  if (!tooLarge) Check(seen == read);
  Check(aside.empty() == (!tooLarge && skipped == 0));
  if (!aside.empty()) Check(ReadFileUpTo(aside, PendingJobs::kMaxBytes + 1).bytes == text);
  Check(PendingJobs::Parse(ReadFileUpTo(file, PendingJobs::kMaxBytes).bytes) == seen);
}

}  // namespace
}  // namespace velunorh::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  velunorh::fuzz::CheckRoundTrip(text);
  velunorh::fuzz::CheckChange(text);
  return 0;
}
