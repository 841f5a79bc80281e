#pragma once

#include <functional>
#include <optional>
#include <string>

#include "companion/publisher_record.h"

namespace velunorh {

// The answer to a print that would put ink where the card already holds some.
enum class OverprintAnswer { kLeaveOut, kPrintAnyway, kCancel };

// Everything the session asks of the user. The Qt layer answers with its dialogs; tests answer
// with a script.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // The data-source dialog preset to a location; at start-up it shows its warning. The chosen
  // location, or nothing when the user cancels.
  virtual std::optional<int> ChooseDataLocation(int preset, bool atStartUp) = 0;
  // The password prompt for the data's header record: false refuses the data.
  virtual bool CheckPassword(const PublisherRecord& header) = 0;
  // The question before a new data source replaces the loaded publishers: true for OK.
  virtual bool ConfirmNewData() = 0;
  virtual void ShowMessage(const std::string& message) = 0;
  // The question before such a print, naming the publishers and lines; leaving them out is the
  // default.
  virtual OverprintAnswer AskOverprint(const std::string& question) = 0;
  // A save that waits for another running copy of the program: shows `message` with "Mentés
  // újra" and "Mégse", calling `tryAgain` now and then meanwhile and at "Mentés újra"; closes as
  // soon as it returns true (the wait is over, saved or not). False when the user gave up first.
  virtual bool WaitToSave(const std::string& message, const std::function<bool()>& tryAgain) = 0;
};

}  // namespace velunorh
