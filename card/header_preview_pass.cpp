#include "card/header_preview_pass.h"

#include "base/string_table.h"
#include "base/string_table_by_number.h"
#include "companion/name_date_format.h"

namespace velunorh {
namespace {

// The geometry of the preview: rows and margins from the client rectangle, integer division.
struct Geometry {
  int L, T, Wd, H;
  int u, y1, y2, y3, y4, xL, xR, s;

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
      : cz(in.languageCode == "cz"),
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
  surface.DrawRectangle({g.L, g.T, g.L + g.Wd + 1, g.T + g.H + 1});
  surface.SetTextColor(kGrey);

  const int xR = g.xR;
  LabelPen pen(surface, g.s);
  pen.MoveTo(g.xL);
  pen.Label(LoadString(104) + " ", g.y1);
  pen.LineTo(xR, g.y1);

  pen.MoveTo(g.xL);
  pen.Label(LoadString(105) + " ", g.y2);
  pen.LineTo(xR, g.y2);

  pen.MoveTo(g.xL);
  pen.Label(LoadString(106) + " ", g.y3);
  pen.LineTo(xR / 3, g.y3);
  pen.Label(" " + LoadString(145) + " ", g.y3);
  pen.LineTo(xR - xR / 3, g.y3);
  pen.Label(" " + LoadString(107) + " ", g.y3);
  pen.LineTo(xR, g.y3);

  int d = xR / 12;
  if (lang.cz) d = xR / 5 + xR / 50;
  if (lang.sk) d = xR / 6;
  if (lang.russian) d = xR / 8;
  pen.MoveTo(g.xL);
  pen.Label(LoadString(108) + " ", g.y4);
  pen.LineTo(xR / 2 - d, g.y4);

  const int upper = g.y4 - 4 * g.u;
  if (!(lang.cz && in.cardVersion == 0)) {
    int e = (lang.cz || lang.sk) ? xR / 3 : xR / 4;
    pen.Label(" " + LoadString(109) + " ", g.y4);
    pen.LineTo(xR - e, g.y4);
  } else {
    int x = pen.x() + xR / 80;
    pen.MoveTo(x);
    pen.Label(" " + LoadString(114), g.y4);
    pen.MoveTo(x);
    pen.Label(" " + LoadString(113), upper);
  }

  const int p = pen.x();
  pen.Label(" " + LoadString(lang.cz ? 112 : 111), g.y4);
  pen.MoveTo(p);
  pen.Label(" " + LoadString(110), upper);
  surface.DrawText(p + (lang.cz ? xR / 6 : xR / 9), upper + g.s,
                   " " + LoadString(lang.cz ? 111 : 112), HAlign::kLeft, VAlign::kBottom);
}

std::string WithoutBoxMark(std::string text) {
  const std::string mark = "[   ] ";
  for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark))
    text.erase(at, mark.size());
  return text;
}

void DrawData(Surface& surface, const Geometry& g, const Language& lang, CongregationData& data,
              const HeaderPreviewInput& in, HeaderPreviewResult& out) {
  const PublisherTable& table = data.current;
  const PublisherRecord& record = table[in.slot];
  const int xL = g.xL, W = g.xR, u = g.u, s = g.s, y4 = g.y4;
  auto text = [&](int x, int y, const std::string& t) {
    if (!t.empty()) surface.DrawText(x, y, t, HAlign::kLeft, VAlign::kBottom);
  };

  surface.SetFont({});
  surface.SetTextColor(in.printHeader ? kBlack : kGrey);

  // Name: the extension record's full name when there is one and it is wanted.
  bool hasFullName = data.LoadExtension(in.slot) != 0 && !data.extensionBuffer().fullName().empty();
  out.fullNameBoxVisible = hasFullName;
  out.lastNameFirstBoxVisible = !(hasFullName && in.useFullName);
  out.nameText = hasFullName && in.useFullName ? data.extensionBuffer().fullName()
                                               : FormatName(table, in.slot, in.lastNameFirst);
  text(xL + (in.nameShift != 0 ? W / 6 : W / 10), g.y1, out.nameText);

  out.mobileText = record.mobileTelephone();

  std::string sex;
  if (record.IsMale()) sex = "[X] " + LoadString(150);
  if (record.IsFemale()) sex = "[X] " + LoadString(151);
  out.genderBoxVisible = !sex.empty();
  if (!sex.empty()) {
    out.checkGenderBox = lang.cz;
    bool genderChecked = in.printGenderMarks || out.checkGenderBox;
    if (!genderChecked) surface.SetTextColor(kGrey);
    text(xL + W - W / 6, g.y1, sex);
  }
  if (in.printHeader) surface.SetTextColor(kBlack);

  text(xL + W / 10, g.y2, record.homeAddress());
  text(xL + W / 8, g.y3, record.homeTelephone());
  text(xL + W / 2 - W / 20, g.y3, out.mobileText);
  text(xL + W - W / 5, g.y3,
       FormatDate(table, in.slot, WhichDate::kBirth, in.dateFormat, in.languageCode));
  text(xL + (lang.cz ? W / 8 : W / 6), y4,
       FormatDate(table, in.slot, WhichDate::kImmersed, in.dateFormat, in.languageCode));

  const int upper = y4 - u / 2 - s;
  const int lower = y4 + u / 2 + s;
  const bool anointed = record.anointedMark() == 'A';
  if (IsBaptized(table, in.slot)) {
    if (!(lang.cz && in.cardVersion == 0)) {
      std::string sheep = LoadString(anointed ? 113 : 114);
      if (lang.cz) sheep = WithoutBoxMark(sheep);
      int k = lang.polish ? W / 6 : (lang.sk || lang.cz) ? W / 4 : W / 9;
      text(xL + W - W / 4 - k, y4, sheep);
    } else {
      text(xL + W / 2 - W / 12, anointed ? upper : lower, "X");
    }
  }

  const Appointment appointment = record.Appointment();
  const bool regularPioneer = record.PioneerStatus(in.reportMonth) == Pioneer::kRegular;
  if (appointment == Appointment::kElder)
    text(xL + W - W / 80 - W / ((lang.cz || lang.sk) ? 3 : 4), upper, "X");
  if (lang.cz) {
    if (regularPioneer) text(xL + W - W / 5 + W / 48, upper, "X");
    if (appointment == Appointment::kMinisterialServant) text(xL + W - W / 3 - W / 80, lower, "X");
  } else {
    if (appointment == Appointment::kMinisterialServant)
      text(xL + W + W / 55 - W / 6 - (lang.sk ? W / 12 : 0), upper, "X");
    if (regularPioneer) text(xL + W - W / 80 - W / (lang.sk ? 3 : 4), lower, "X");
  }
}

}  // namespace

HeaderPreviewResult DrawHeaderPreview(Surface& surface, const Rect& client, CongregationData& data,
                                      const HeaderPreviewInput& input) {
  HeaderPreviewResult result;
  if (data.current.count == 0) return result;
  Geometry g(client);
  Language lang(input);
  DrawForm(surface, g, lang, input);
  if (input.slot >= 1 && data.current.IsLoaded(input.slot))
    DrawData(surface, g, lang, data, input, result);
  return result;
}

}  // namespace velunorh
