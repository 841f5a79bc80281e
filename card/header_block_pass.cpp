#include "card/header_block_pass.h"

#include <optional>

#include "base/string_table.h"
#include "base/string_table_by_number.h"
#include "companion/name_date_format.h"
#include "card/header_display_name.h"
#include "card/print_units.h"

namespace velunorh {
namespace {

using P = HeaderPosition;

class HeaderPrinter {
 public:
  HeaderPrinter(Surface& surface, const HeaderBlockInput& input)
      : surface_(surface),
        layout_(input.layout),
        units_(PageUnits::For(surface, input.leftMargin, input.topMargin)) {}

  const PageUnits& units() const { return units_; }

  // An empty text prints nothing.
  void At(P xOf, P yOf, const std::string& text) {
    if (text.empty()) return;
    surface_.DrawText(units_.X(layout_.X(xOf)), units_.Y(layout_.Y(yOf)), text, HAlign::kLeft,
                      VAlign::kTop);
  }
  void At(P position, const std::string& text) { At(position, position, text); }

 private:
  Surface& surface_;
  const CardLayout& layout_;
  PageUnits units_;
};

// The Male or Female box, female winning; none when the box's X is switched off with 0.
std::optional<P> GenderMarkPosition(const PublisherRecord& record, const CardLayout& layout,
                                    int hres) {
  std::optional<P> position;
  if (record.IsMale()) position = P::Male;
  if (record.IsFemale()) position = P::Female;
  if (position && LayoutValueToDevice(layout.X(*position), hres) == 0) return std::nullopt;
  return position;
}

}  // namespace

void PrintHeaderBlock(Surface& surface, const CongregationData& data,
                      const HeaderBlockInput& input) {
  if (!input.printHeader) return;
  const PublisherTable& table = data.current;
  if (input.slot < 1 || !table.IsLoaded(input.slot)) return;
  const PublisherRecord& record = table[input.slot];

  HeaderPrinter print(surface, input);
  surface.SetFont(PointFont("Arial", 100, print.units().vres));
  surface.SetTextColor(kBlack);
  const std::string x = "x";

  print.At(P::Name, input.displayName);
  if (input.printGenderMarks) {
    if (auto box = GenderMarkPosition(record, input.layout, print.units().hres)) print.At(*box, x);
  }
  print.At(P::HomeAddress, record.homeAddress());
  print.At(P::HomeTelephone, record.homeTelephone());
  print.At(P::MobileTelephone, record.mobileTelephone());
  print.At(P::DateOfBirth,
           FormatDate(table, input.slot, WhichDate::kBirth, input.dateFormat, input.languageCode));
  if (record.Appointment() == Appointment::kElder) print.At(P::Elder, x);
  if (record.Appointment() == Appointment::kMinisterialServant) print.At(P::MinisterialServant, x);
  print.At(P::DateImmersed, FormatDate(table, input.slot, WhichDate::kImmersed, input.dateFormat,
                                       input.languageCode));
  // On the card the answer sits on the immersion date's line.
  if (IsBaptized(table, input.slot))
    print.At(P::AnointedOrOtherSheep, P::DateImmersed,
             LoadString(record.anointedMark() == 'A' ? 113 : 114));
  const bool reportMonthValid = input.reportMonth >= 0 && input.reportMonth < 12;
  if (reportMonthValid && record.PioneerStatus(input.reportMonth) == Pioneer::kRegular)
    print.At(P::RegularPioneer, x);
}

}  // namespace velunorh
