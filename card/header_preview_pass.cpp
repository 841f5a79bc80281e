#include "card/header_preview_pass.h"

#include "base/edition.h"
#include "base/string_table.h"

namespace velunorh {
namespace {

// The geometry of the preview: rows and margins from the client rectangle, integer division.
struct Geometry {
  int L, T, Wd, H;     // the client rectangle: left and top edges, width and height
  int u;               // the row unit, a 26th of the height
  int y1, y2, y3, y4;  // the lines of the name, address, telephone and immersion rows
  int xL, xR;          // the left and right edges of the form (positions, not widths)
  int s;               // how far a label's bottom lies below its line

  explicit Geometry(const Rect& r)
      : L(r.left), T(r.top), Wd(r.right - r.left), H(r.bottom - r.top) {
    u = H / 26;
    y1 = T + 5 * u;
    y2 = T + 10 * u;
    y3 = T + 15 * u;
    y4 = T + 23 * u;
    xL = L + Wd / 40;
    xR = L + Wd - Wd / 40;
    s = y1 / 3;
  }
};

struct Language {
  bool cz, sk, polish, russian;
  Language(const HeaderPreviewInput& in)
      : cz(IsCzech(in.languageCode)),
        sk(in.languageCode == "sk"),
        polish(in.languageCode == "polish"),
        russian(in.fontCharset == 204) {}
};

// Labels drawn at a current position that moves on after every text and line.
class LabelPen {
 public:
  LabelPen(Surface& surface, int s) : surface_(surface), s_(s) {}

  void MoveTo(int x) { x_ = x; }
  int x() const { return x_; }
  // A label whose bottom lies s below the row.
  void Label(const std::string& text, int rowY) {
    surface_.DrawText(x_, rowY + s_, text, HAlign::kLeft, VAlign::kBottom);
    x_ += surface_.TextWidth(text);
  }
  // The fill-in line from the label's end at the row's height.
  void LineTo(int endX, int rowY) {
    surface_.DrawLine(x_, rowY, endX, rowY);
    x_ = endX;
  }

 private:
  Surface& surface_;
  int s_;
  int x_ = 0;
};

void DrawForm(Surface& surface, const Geometry& g, const Language& lang,
              const HeaderPreviewInput& in) {
  surface.SetFont({"Arial", 9, 400, in.fontCharset});
  // The whole client rectangle: a frame one pixel wider would lose its right and bottom edges.
  surface.DrawRectangle({g.L, g.T, g.L + g.Wd, g.T + g.H});
  surface.SetTextColor(kGrey);

  const int xR = g.xR;
  LabelPen pen(surface, g.s);
  pen.MoveTo(g.xL);
  pen.Label(LoadString(StringId::NameLabel) + " ", g.y1);
  pen.LineTo(xR, g.y1);

  pen.MoveTo(g.xL);
  pen.Label(LoadString(StringId::HomeAddressLabel) + " ", g.y2);
  pen.LineTo(xR, g.y2);

  pen.MoveTo(g.xL);
  pen.Label(LoadString(StringId::HomeTelephoneLabel) + " ", g.y3);
  pen.LineTo(xR / 3, g.y3);
  pen.Label(" " + LoadString(StringId::MobileTelephoneLabel) + " ", g.y3);
  pen.LineTo(xR - xR / 3, g.y3);
  pen.Label(" " + LoadString(StringId::DateOfBirthLabel) + " ", g.y3);
  pen.LineTo(xR, g.y3);

  int d = xR / 12;
  if (lang.cz) d = xR / 5 + xR / 50;
  if (lang.sk) d = xR / 6;
  if (lang.russian) d = xR / 8;
  pen.MoveTo(g.xL);
  pen.Label(LoadString(StringId::DateImmersedLabel) + " ", g.y4);
  pen.LineTo(xR / 2 - d, g.y4);

  const int upper = g.y4 - 4 * g.u;
  if (!(lang.cz && in.cardVersion == 0)) {
    int e = (lang.cz || lang.sk) ? xR / 3 : xR / 4;
    pen.Label(" " + LoadString(StringId::AnointedOrOtherSheepLabel) + " ", g.y4);
    pen.LineTo(xR - e, g.y4);
  } else {
    int x = pen.x() + xR / 80;
    pen.MoveTo(x);
    pen.Label(" " + LoadString(StringId::OtherSheep), g.y4);
    pen.MoveTo(x);
    pen.Label(" " + LoadString(StringId::Anointed), upper);
  }

  const int p = pen.x();
  pen.Label(
      " " + LoadString(lang.cz ? StringId::MinisterialServantBox : StringId::RegularPioneerBox),
      g.y4);
  pen.MoveTo(p);
  pen.Label(" " + LoadString(StringId::ElderBox), upper);
  surface.DrawText(
      p + (lang.cz ? xR / 6 : xR / 9), upper + g.s,
      " " + LoadString(lang.cz ? StringId::RegularPioneerBox : StringId::MinisterialServantBox),
      HAlign::kLeft, VAlign::kBottom);
}

std::string WithoutBoxMark(std::string text) {
  const std::string mark = "[   ] ";
  for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark))
    text.erase(at, mark.size());
  return text;
}

void DrawData(Surface& surface, const Geometry& g, const Language& lang, const CardContent& card,
              const HeaderPreviewInput& in) {
  // The data's positions are fractions of the right edge xR (not of the width), as the form's are.
  const int xL = g.xL, xR = g.xR, u = g.u, s = g.s, y4 = g.y4;
  auto text = [&](int x, int y, const std::string& t) {
    if (!t.empty()) surface.DrawText(x, y, t, HAlign::kLeft, VAlign::kBottom);
  };

  surface.SetFont({});
  surface.SetTextColor(in.printHeader ? kBlack : kGrey);
  text(xL + (in.nameShift != 0 ? xR / 6 : xR / 10), g.y1, card.displayName);

  if (card.sex != SexMark::kNone) {
    const std::string sex =
        "[X] " + LoadString(card.sex == SexMark::kMale ? StringId::Male : StringId::Female);
    if (!(in.printGenderMarks || EditionTicksGenderMarks(in.languageCode, card)))
      surface.SetTextColor(kGrey);
    text(xL + xR - xR / 6, g.y1, sex);
  }
  if (in.printHeader) surface.SetTextColor(kBlack);

  text(xL + xR / 10, g.y2, card.homeAddress);
  text(xL + xR / 8, g.y3, card.homeTelephone);
  text(xL + xR / 2 - xR / 20, g.y3, card.mobileTelephone);
  text(xL + xR - xR / 5, g.y3, card.dateOfBirth);
  text(xL + (lang.cz ? xR / 8 : xR / 6), y4, card.dateImmersed);

  const int upper = y4 - u / 2 - s;
  const int lower = y4 + u / 2 + s;
  if (card.baptized) {
    if (!(lang.cz && in.cardVersion == 0)) {
      std::string sheep = SheepText(card.anointed);
      if (lang.cz) sheep = WithoutBoxMark(sheep);
      int k = lang.polish ? xR / 6 : (lang.sk || lang.cz) ? xR / 4 : xR / 9;
      text(xL + xR - xR / 4 - k, y4, sheep);
    } else {
      text(xL + xR / 2 - xR / 12, card.anointed ? upper : lower, "X");
    }
  }

  if (card.elder) text(xL + xR - xR / 80 - xR / ((lang.cz || lang.sk) ? 3 : 4), upper, "X");
  if (lang.cz) {
    if (card.regularPioneer) text(xL + xR - xR / 5 + xR / 48, upper, "X");
    if (card.ministerialServant) text(xL + xR - xR / 3 - xR / 80, lower, "X");
  } else {
    if (card.ministerialServant)
      text(xL + xR + xR / 55 - xR / 6 - (lang.sk ? xR / 12 : 0), upper, "X");
    if (card.regularPioneer) text(xL + xR - xR / 80 - xR / (lang.sk ? 3 : 4), lower, "X");
  }
}

// Above the name line, right-aligned: the one place the form leaves free.
void DrawLedgerNote(Surface& surface, const Geometry& g, const HeaderPreviewInput& in) {
  if (in.ledger.note.empty()) return;
  surface.SetFont({"Arial", 9, 400, in.fontCharset});
  surface.SetTextColor(in.ledger.changed ? kLedgerWarning : kBlack);
  surface.DrawText(g.xR, g.T + 2, in.ledger.note, HAlign::kRight, VAlign::kTop);
}

}  // namespace

void DrawHeaderPreview(Surface& surface, const Rect& client, const CardContent& card,
                       const HeaderPreviewInput& input) {
  if (!card.congregationLoaded) return;
  Geometry g(client);
  Language lang(input);
  DrawForm(surface, g, lang, input);
  if (!card.hasPublisher) return;
  DrawData(surface, g, lang, card, input);
  DrawLedgerNote(surface, g, input);
}

}  // namespace velunorh
