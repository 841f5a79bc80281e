#pragma once

#include <QString>
#include <chrono>
#include <functional>

class QWidget;

namespace velunorh {

// How long a question to the print spooler may take before it is given up, and how long the
// window waits before it shows what it waits for.
struct SpoolerWaitLimits {
  std::chrono::milliseconds giveUpAfter{20000};
  std::chrono::milliseconds showAfter{500};
  static SpoolerWaitLimits& Current();  // the program's; tests shorten them
};

enum class SpoolerWait { kAnswered, kSilent, kCancelled };

// Runs `ask` (a call into the print spooler) off the window's thread, the window responsive
// meanwhile: after showAfter a progress window over `parent` (null: none) says `what` with
// "Mégse". When the user cancels or giveUpAfter passes, the wait ends; `ask` still runs to its
// end on its own, and then `undo` (when given) takes back what it did (cancels a job): exactly
// one of an answer and an undo happens. Both run off the window's thread and own their data.
SpoolerWait WaitForSpooler(QWidget* parent, const QString& what, std::function<void()> ask,
                           std::function<void()> undo = {});

}  // namespace velunorh
