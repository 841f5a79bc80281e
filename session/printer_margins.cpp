#include "session/printer_margins.h"

#include <algorithm>
#include <string_view>

#include "base/profile_file.h"

namespace velunorh {
namespace {

constexpr std::string_view kMargins = "Margins";
constexpr std::string_view kPrinter = "Printer";
constexpr std::string_view kSection = "Printer Margins";
constexpr std::string_view kCount = "Count";
// A printer's name may hold any character but a line break, "=" and ";" included, so it is
// the value's last part and never a key: "Printer1=0.20 0.00 Name". A value whose end blanks
// or surrounding quotes the reader would take off is written in quotes.
constexpr int kMostPrinters = 64;

std::string SlotKey(int slot) {
  return std::string(kPrinter) + std::to_string(slot);
}

}  // namespace

bool SwitchPrinterMargins(PrinterMarginBook& book, std::string& left, std::string& top,
                          const std::string& from, const std::string& to) {
  const std::string& owner = book.inUse.empty() ? from : book.inUse;
  if (to.empty() || owner == to) return false;
  if (!owner.empty()) book.others[owner] = {left, top};
  if (auto own = book.others.find(to); own != book.others.end()) {
    left = own->second.leftMargin;
    top = own->second.topMargin;
    book.others.erase(own);
  }
  book.inUse = to;
  return true;
}

PrinterMarginBook ReadPrinterMargins(const ProfileFile& profile) {
  PrinterMarginBook book;
  book.inUse = profile.ReadText(kMargins, kPrinter, "");
  const int count = profile.ReadInt(kSection, kCount, 0);
  for (int slot = 1; slot <= count && slot <= kMostPrinters; ++slot) {
    const std::string value = profile.ReadText(kSection, SlotKey(slot), "");
    const std::size_t first = value.find(' ');
    const std::size_t second = first == std::string::npos ? first : value.find(' ', first + 1);
    if (second == std::string::npos || second + 1 >= value.size()) continue;  // damaged: skipped
    const std::string name = value.substr(second + 1);
    if (name == book.inUse) continue;  // the margins in use are the ones in "Margins"
    book.others[name] = {value.substr(0, first), value.substr(first + 1, second - first - 1)};
  }
  return book;
}

bool WritePrinterMargins(ProfileFile& profile, const PrinterMarginBook& book) {
  const int stored = profile.ReadInt(kSection, kCount, 0);
  const bool hadBook = !profile.ReadText(kMargins, kPrinter, "").empty() || stored > 0;
  if (book.others.empty() && !hadBook) return true;
  if (!profile.WriteText(kMargins, kPrinter, QuotedProfileValue(book.inUse))) return false;
  int slot = 0;
  for (const auto& [name, margins] : book.others) {
    if (++slot > kMostPrinters) break;
    if (!profile.WriteText(
            kSection, SlotKey(slot),
            QuotedProfileValue(margins.leftMargin + " " + margins.topMargin + " " + name)))
      return false;
  }
  // Slots a smaller book no longer uses are emptied, not left to be read again.
  for (int old = slot + 1; old <= stored && old <= kMostPrinters; ++old)
    if (!profile.WriteText(kSection, SlotKey(old), "")) return false;
  return profile.WriteInt(kSection, kCount, std::min(slot, kMostPrinters));
}

}  // namespace velunorh
