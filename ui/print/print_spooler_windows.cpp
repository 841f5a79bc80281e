#define NOMINMAX
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ui/print/print_spooler.h"

namespace velunorh {
namespace {

// An open printer for the length of one question; closed with the object.
class PrinterHandle {
 public:
  explicit PrinterHandle(const QString& printerName) {
    std::wstring name = printerName.toStdWString();
    PRINTER_DEFAULTSW use{nullptr, nullptr, PRINTER_ACCESS_USE};
    if (!::OpenPrinterW(name.data(), &handle_, &use)) {
      error_ = ::GetLastError();
      handle_ = nullptr;
    }
  }
  ~PrinterHandle() {
    if (handle_) ::ClosePrinter(handle_);
  }
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;

  HANDLE get() const { return handle_; }
  DWORD error() const { return error_; }

 private:
  HANDLE handle_ = nullptr;
  DWORD error_ = 0;
};

// The printer's state flags and attributes (PRINTER_INFO_2); nothing when it cannot be asked.
struct PrinterState {
  DWORD status = 0;
  DWORD attributes = 0;
};
std::optional<PrinterState> StateOf(HANDLE printer) {
  DWORD needed = 0;
  ::GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (needed == 0) return std::nullopt;
  std::vector<BYTE> buffer(needed);
  if (!::GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return std::nullopt;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  return PrinterState{info->Status, info->Attributes};
}

// The highest id of the queue's jobs (of that document name when `titled`); -1 when the
// spooler cannot list them. A job leaves a Windows queue once printed, unlike a CUPS one.
int NewestJob(HANDLE printer, const QString& title, bool titled) {
  constexpr DWORD kMostJobs = 0xFFFFFFFF;
  DWORD needed = 0, count = 0;
  std::vector<BYTE> buffer;
  // The queue may grow between the two calls: asked again with the size it gave then.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (::EnumJobsW(printer, 0, kMostJobs, 1, buffer.empty() ? nullptr : buffer.data(),
                    static_cast<DWORD>(buffer.size()), &needed, &count))
      break;
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return -1;
    buffer.resize(needed);
    count = 0;
  }
  const auto* jobs = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
  int newest = 0;
  for (DWORD i = 0; i < count && !buffer.empty(); ++i) {
    if (titled && QString::fromWCharArray(jobs[i].pDocument ? jobs[i].pDocument : L"") != title)
      continue;
    newest = std::max(newest, static_cast<int>(jobs[i].JobId));
  }
  return newest;
}

}  // namespace

SpoolerWatch::SpoolerWatch(const QString& printerName) : printer_(printerName) {
  PrinterHandle printer(printerName);
  if (!printer.get()) {
    // Only a name the spooler does not know is a vanished printer; other errors (rights, a
    // spooler that does not answer) leave the job to QPrinter, which reports its own failure.
    if (printer.error() == ERROR_INVALID_PRINTER_NAME) queue_ = Queue::kGone;
    return;
  }
  if (const auto state = StateOf(printer.get())) {
    if (state->status & PRINTER_STATUS_PENDING_DELETION) queue_ = Queue::kRefusing;
    // Offline or paused, the spooler keeps the job until the printer is back, as a stopped
    // CUPS queue does.
    else if ((state->status & (PRINTER_STATUS_PAUSED | PRINTER_STATUS_OFFLINE)) ||
             (state->attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE))
      queue_ = Queue::kPaused;
  }
  newestJobBefore_ = NewestJob(printer.get(), {}, false);
}

int SpoolerWatch::TakenJob(const QString& title) const {
  if (queue_ == Queue::kGone || queue_ == Queue::kRefusing) return 0;
  PrinterHandle printer(printer_);
  if (!printer.get()) return printer.error() != ERROR_INVALID_PRINTER_NAME ? -1 : 0;
  const int newest = NewestJob(printer.get(), title, true);
  if (newest > newestJobBefore_) return newest;
  // Not listed: a spooler that cannot list jobs (Wine) or a fast printer whose job has already
  // left the queue. QPrinter ended the document without an error, so the spooler took it.
  return newest < 0 || newestJobBefore_ < 0 || queue_ == Queue::kReady ? -1 : 0;
}

bool SpoolerWatch::Knows(const QString& printerName) {
  return PrinterHandle(printerName).get() != nullptr;
}

QString SpoolerWatch::DefaultPrinter() {
  DWORD size = 0;
  ::GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return {};
  std::vector<wchar_t> name(size);
  if (!::GetDefaultPrinterW(name.data(), &size)) return {};
  return QString::fromWCharArray(name.data());
}

SpoolerWatch::Job SpoolerWatch::JobState(const QString& printerName, int jobId) {
  PrinterHandle printer(printerName);
  if (!printer.get())
    return printer.error() == ERROR_INVALID_PRINTER_NAME ? Job::kUnknown : Job::kWaiting;
  DWORD needed = 0;
  ::GetJobW(printer.get(), static_cast<DWORD>(jobId), 1, nullptr, 0, &needed);
  // A job leaves a Windows queue once printed (or deleted): no longer known.
  if (needed == 0) return Job::kUnknown;
  std::vector<BYTE> buffer(needed);
  if (!::GetJobW(printer.get(), static_cast<DWORD>(jobId), 1, buffer.data(), needed, &needed))
    return Job::kUnknown;
  const DWORD status = reinterpret_cast<const JOB_INFO_1W*>(buffer.data())->Status;
  if (status & JOB_STATUS_PRINTED) return Job::kCompleted;
  if (status & (JOB_STATUS_DELETING | JOB_STATUS_DELETED)) return Job::kCancelled;
  return Job::kWaiting;
}

void SpoolerWatch::CancelJob(const QString& printerName, int jobId) {
  PrinterHandle printer(printerName);
  if (printer.get())
    ::SetJobW(printer.get(), static_cast<DWORD>(jobId), 0, nullptr, JOB_CONTROL_DELETE);
}

}  // namespace velunorh
