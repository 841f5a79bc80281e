#include "session/pending_jobs.h"

#include <map>
#include <system_error>

#include "base/atomic_file.h"
#include "base/platform.h"
#include "base/profile_file.h"
#include "base/string_table.h"
#include "base/system_reason.h"
#include "base/whole_file.h"

namespace velunorh {
namespace {

constexpr std::string_view kJobPrefix = "Job ";
constexpr std::string_view kCardPart = " Card ";

bool AllDigits(std::string_view s) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// "<stamp>" or "<stamp> <stamp before>"
bool ParseLine(std::string_view value, LedgerEntry& entry, int line) {
  const std::size_t stamp = LedgerStampText({}).size();
  if (value.size() != stamp && value.size() != 2 * stamp + 1) return false;
  entry.stamped[line] = ParseLedgerStamp(value.substr(0, stamp));
  if (!entry.stamped[line]) return false;
  if (value.size() == stamp) return true;
  if (value[stamp] != ' ') return false;
  entry.before[line] = ParseLedgerStamp(value.substr(stamp + 1));
  return entry.before[line].has_value();
}

// One card section's entry; nothing when any of it is out of form.
std::optional<LedgerEntry> ParseCard(const ProfileSection& section) {
  LedgerEntry entry;
  bool named = false;
  for (const auto& [key, value] : section.keys) {
    if (EqualsIgnoringCase(key, "Card")) {
      const auto card = ParseLedgerCardName(value);
      if (!card) return std::nullopt;
      entry.serviceYear = card->first;
      entry.key = card->second;
      named = true;
    } else if (EqualsIgnoringCase(key, "Name")) {
      entry.name = LedgerNameToKeep(value);
    } else if (const auto line = LedgerLineOfKey(key)) {
      if (!ParseLine(value, entry, *line)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!named || entry.Empty()) return std::nullopt;
  return entry;
}

}  // namespace

std::string PendingJobs::TextOf(const std::vector<PendingJob>& jobs) {
  std::string text = "; " + LoadString(StringId::ProgramName) +
                     ": print jobs recorded in the print ledger and not yet finished.\n";
  ProfileWriter writer(text);
  int number = 0;
  for (const PendingJob& job : jobs) {
    const std::string name = std::string(kJobPrefix) + std::to_string(++number);
    writer.Section(name);
    writer.Key("Computer", job.computer);
    writer.Key("Printer", job.printer);
    writer.Key("Id", std::to_string(job.id));
    int card = 0;
    for (const LedgerEntry& entry : job.recorded) {
      writer.Section(name + std::string(kCardPart) + std::to_string(++card));
      writer.Key("Card", LedgerCardName(entry.serviceYear, entry.key));
      writer.Key("Name", LedgerNameToKeep(entry.name));
      for (int line = 0; line < 14; ++line) {
        if (!entry.stamped[line]) continue;
        std::string value = LedgerStampText(*entry.stamped[line]);
        if (entry.before[line]) value += " " + LedgerStampText(*entry.before[line]);
        writer.Key(LedgerLineKey(line), value);
      }
    }
  }
  return text;
}

std::vector<PendingJob> PendingJobs::Parse(std::string_view text, int* skipped) {
  int ignored = 0;
  const std::vector<ProfileSection> sections = ReadProfileSections(text, &ignored);
  // Jobs by their number in the file, each with whether all of it read.
  struct Read {
    PendingJob job;
    bool jobRead = false;   // its own section read whole
    bool cardsRead = true;  // every card section read whole
  };
  std::map<std::string, Read> byNumber;
  std::vector<std::string> order;
  int damaged = ignored;
  const auto jobOf = [&](const std::string& number) -> Read& {
    auto [at, added] = byNumber.try_emplace(number);
    if (added) order.push_back(number);
    return at->second;
  };
  for (const ProfileSection& section : sections) {
    std::string_view name = section.name;
    if (name.size() <= kJobPrefix.size() || !EqualsIgnoringCase(name.substr(0, 4), kJobPrefix)) {
      ++damaged;
      continue;
    }
    name.remove_prefix(kJobPrefix.size());
    const std::size_t card = name.find(kCardPart);
    const std::string number(name.substr(0, card));
    if (!AllDigits(number) ||
        (card != std::string_view::npos && !AllDigits(name.substr(card + kCardPart.size())))) {
      ++damaged;
      continue;
    }
    Read& read = jobOf(number);
    if (card != std::string_view::npos) {
      if (auto entry = ParseCard(section))
        read.job.recorded.push_back(std::move(*entry));
      else
        read.cardsRead = false;
      continue;
    }
    bool whole = true, hasPrinter = false, hasId = false;
    for (const auto& [key, value] : section.keys) {
      // A name with a line break inside could not be written back as one line.
      if (value.find_first_of("\r\n") != std::string::npos) {
        whole = false;
      } else if (EqualsIgnoringCase(key, "Computer")) {
        read.job.computer = value;
      } else if (EqualsIgnoringCase(key, "Printer")) {
        read.job.printer = value;
        hasPrinter = !value.empty();
      } else if (EqualsIgnoringCase(key, "Id") && AllDigits(value)) {
        read.job.id = std::stoi(value);
        hasId = read.job.id > 0;
      } else {
        whole = false;
      }
    }
    read.jobRead = whole && hasPrinter && hasId;
  }
  std::vector<PendingJob> jobs;
  for (const std::string& number : order) {
    Read& read = byNumber[number];
    if (!read.jobRead || !read.cardsRead || read.job.recorded.empty()) {
      ++damaged;
      continue;
    }
    jobs.push_back(std::move(read.job));
  }
  if (skipped) *skipped = damaged;
  return jobs;
}

bool PendingJobs::Change(const std::function<bool(std::vector<PendingJob>&)>& change,
                         std::string* error, std::filesystem::path* setAside,
                         const CalendarDate& today) {
  // One lock for every way to the file, as the ledger's.
  std::filesystem::path lockFile = FileBehindLinks(file_);
  lockFile += ".lock";
  const auto lock = FileLock::Acquire(lockFile, kLockWait, error);
  if (!lock) return false;
  const WholeFile read = ReadFileUpTo(file_, kMaxBytes);
  std::vector<PendingJob> jobs;
  bool rewrite = false;
  if (read.status == WholeFile::Status::kRead) {
    int skipped = 0;
    jobs = Parse(read.bytes, &skipped);
    if (skipped > 0) {
      // What could not be read is kept aside as it was before the file is written without it.
      const std::filesystem::path aside = FreeDamagedName(file_, today);
      std::error_code ec;
      std::filesystem::copy_file(file_, aside, ec);
      if (ec) {
        if (error) *error = SystemReason(ec);
        return false;
      }
      if (setAside) *setAside = aside;
      rewrite = true;
    }
  } else if (read.status == WholeFile::Status::kTooLarge) {
    if (!SetTooLargeFileAside(file_, today, read, error, setAside)) return false;
  } else if (read.status != WholeFile::Status::kMissing) {
    // Not to be written over unseen.
    if (error) *error = read.error;
    return false;
  }
  if (change(jobs)) rewrite = true;
  if (!rewrite) return true;
  if (jobs.empty() && read.status != WholeFile::Status::kRead) return true;
  return WriteFileAtomically(file_, TextOf(jobs), error);
}

}  // namespace velunorh
