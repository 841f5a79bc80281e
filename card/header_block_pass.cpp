#include "card/header_block_pass.h"

#include <optional>

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

// The Male or Female box; none when the box's X is switched off with 0.
std::optional<P> GenderMarkPosition(SexMark sex, const CardLayout& layout, int hres) {
  if (sex == SexMark::kNone) return std::nullopt;
  const P position = sex == SexMark::kFemale ? P::Female : P::Male;
  if (LayoutValueToDevice(layout.X(position), hres) == 0) return std::nullopt;
  return position;
}

}  // namespace

void PrintHeaderBlock(Surface& surface, const CardContent& card, const HeaderBlockInput& input) {
  if (!input.printHeader || !card.hasPublisher) return;

  HeaderPrinter print(surface, input);
  surface.SetFont(PointFont("Arial", 100, print.units().vres));
  surface.SetTextColor(kBlack);
  const std::string x = "x";

  print.At(P::Name, card.displayName);
  if (input.printGenderMarks) {
    if (auto box = GenderMarkPosition(card.sex, input.layout, print.units().hres))
      print.At(*box, x);
  }
  print.At(P::HomeAddress, card.homeAddress);
  print.At(P::HomeTelephone, card.homeTelephone);
  print.At(P::MobileTelephone, card.mobileTelephone);
  print.At(P::DateOfBirth, card.dateOfBirth);
  if (card.elder) print.At(P::Elder, x);
  if (card.ministerialServant) print.At(P::MinisterialServant, x);
  print.At(P::DateImmersed, card.dateImmersed);
  // On the card the answer sits on the immersion date's line.
  if (card.baptized) print.At(P::AnointedOrOtherSheep, P::DateImmersed, SheepText(card.anointed));
  if (card.regularPioneer) print.At(P::RegularPioneer, x);
}

}  // namespace velunorh
