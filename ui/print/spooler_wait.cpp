#include "ui/print/spooler_wait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "base/string_table.h"
#include "ui/qt_text.h"

namespace velunorh {

SpoolerWaitLimits& SpoolerWaitLimits::Current() {
  static SpoolerWaitLimits limits;
  return limits;
}

SpoolerWait WaitForSpooler(QWidget* parent, const QString& what, std::function<void()> ask,
                           std::function<void()> undo) {
  enum State { kAsking, kDone, kAbandoned };
  auto state = std::make_shared<std::atomic<int>>(kAsking);
  // Detached: a spooler that never answers must not hold the window, nor the program's exit.
  std::thread([state, ask = std::move(ask), undo = std::move(undo)] {
    ask();
    int asking = kAsking;
    if (!state->compare_exchange_strong(asking, kDone) && undo) undo();
  }).detach();

  const SpoolerWaitLimits limits = SpoolerWaitLimits::Current();
  QElapsedTimer elapsed;
  elapsed.start();
  std::unique_ptr<QProgressDialog> progress;
  SpoolerWait result = SpoolerWait::kAnswered;
  QEventLoop loop;
  QTimer tick;
  tick.setInterval(10);
  QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
    if (*state == kDone) {
      loop.quit();
      return;
    }
    if (progress && progress->wasCanceled()) {
      result = SpoolerWait::kCancelled;
    } else if (std::chrono::milliseconds(elapsed.elapsed()) >= limits.giveUpAfter) {
      result = SpoolerWait::kSilent;
    } else {
      if (!progress && parent && std::chrono::milliseconds(elapsed.elapsed()) >= limits.showAfter) {
        progress = std::make_unique<QProgressDialog>(parent);
        progress->setObjectName("spoolerWait");
        progress->setWindowTitle(Text(StringId::ProgramName));
        progress->setLabelText(what);
        progress->setCancelButtonText(Text(StringId::CancelButton));
        progress->setWindowModality(Qt::WindowModal);
        progress->setRange(0, 0);  // no steps to count: the spooler answers or not
        progress->setMinimumDuration(0);
        progress->show();
      }
      return;
    }
    // An answer that came in meanwhile counts: it is not undone.
    int asking = kAsking;
    if (!state->compare_exchange_strong(asking, kAbandoned)) result = SpoolerWait::kAnswered;
    loop.quit();
  });
  tick.start();
  loop.exec();
  return result;
}

}  // namespace velunorh
