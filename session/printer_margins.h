#pragma once

#include <map>
#include <string>

namespace velunorh {

class ProfileFile;

struct PrinterMargins {
  std::string leftMargin;
  std::string topMargin;
  bool operator==(const PrinterMargins&) const = default;
};

// Margins remembered for each printer. "Margins"/"Top" and "Left" keep the margins in use, as
// always; `inUse` names their printer ("Margins"/"Printer", empty until a second printer is
// used), and the other printers' margins are kept in a section of their own ("Printer
// Margins"), so a settings file that only ever knew one printer stays as it was.
struct PrinterMarginBook {
  std::string inUse;
  std::map<std::string, PrinterMargins> others;
  bool operator==(const PrinterMarginBook&) const = default;
};

// The printer changes from `from` (whose margins are `left` and `top`) to `to`: the margins in
// use are kept under the printer they belong to (`book.inUse`, else `from`), and `to`'s own
// margins, when it has any, become the margins in use. A printer without margins of its own
// starts with the margins in use. Returns true when anything changed.
bool SwitchPrinterMargins(PrinterMarginBook& book, std::string& left, std::string& top,
                          const std::string& from, const std::string& to);

// Reads and writes the book. Nothing is written for a book that never held another printer
// (and none was held before), so such a file keeps exactly its old lines.
PrinterMarginBook ReadPrinterMargins(const ProfileFile& profile);
bool WritePrinterMargins(ProfileFile& profile, const PrinterMarginBook& book);

}  // namespace velunorh
