// What the ledger keeps of a printed line (the data it was printed from) and the text that tells,
// field by field, what changed of it since.
#include <gtest/gtest.h>

#include <functional>

#include "card/card_digest.h"
#include "card/card_text.h"
#include "card/ledger_values.h"

namespace velunorh {
namespace {

constexpr int kOctober = 2;  // the item of the row October (September is 1)
constexpr int kHeader = 0;
constexpr int kTotal = kLedgerItems - 1;

// A new-form card as BuildCardContent leaves it: October reported, the header filled.
CardContent Card() {
  CardContent card;
  card.hasPublisher = true;
  card.newForm = true;
  card.familyName = "Kovács";
  card.givenName = "Anna";
  card.displayName = "Anna Kovács";
  card.homeAddress = "Fő utca 1.";
  card.homeTelephone = "06 1 234 5678";
  card.datesOfBirth[0] = "03/02/1970";
  card.datesImmersed[0] = "07/14/2001";
  card.sex = SexMark::kFemale;
  card.baptized = true;
  card.year = ServiceYear::FromDate(2026, 11);
  for (int row = 0; row < 12; ++row) {
    card.rows[row].month = ServiceYear::RowMonth(row);
    card.rows[row].printable = true;
    card.rows[row].cells = {"", "", "", "", ""};
    card.rows[row].otherFormCells = {"", "", "", "", "", ""};
  }
  card.rows[1].cells = {"", "", "24.75", "3", "1"};
  card.rows[1].otherFormCells = {"", "", "24.75", "", "3", "1"};
  card.printedTotals = card.rows[1].cells;
  card.otherFormTotals = card.rows[1].otherFormCells;
  return card;
}

// The values and digest a print of the item records (as PrintLedger::Record does).
std::pair<std::string, std::uint64_t> Printed(const CardContent& card, int item) {
  const auto of = [](const auto& data) { return std::pair{ValuesText(data), DataDigest(data)}; };
  if (item == kHeader) return of(HeaderDataOf(card, true));
  if (item == kTotal) return of(TotalDataOf(card));
  return of(RowDataOf(card, item - 1));
}

TEST(LedgerChange, TellsEachFieldThatChangedByTheCardsOwnWords) {
  struct Case {
    const char* what;
    int item;
    std::function<void(CardContent&)> change;
    std::string told;
  };
  const auto oct = [](CardContent& card) -> CardMonthRow& { return card.rows[1]; };
  const Case cases[] = {
      {"hours", kOctober, [&](CardContent& c) { oct(c).cells[2] = "29.75"; },
       "Okt: Óra 24.75 → 29.75"},
      {"placements now reported", kOctober, [&](CardContent& c) { oct(c).cells[0] = "2"; },
       "Okt: Terj – → 2"},
      {"videos", kOctober, [&](CardContent& c) { oct(c).cells[1] = "1"; }, "Okt: Vid – → 1"},
      {"return visits gone", kOctober, [&](CardContent& c) { oct(c).cells[3] = ""; },
       "Okt: UL 3 → –"},
      {"remark", kOctober, [&](CardContent& c) { oct(c).remark = "Kisegítő úttörő"; },
       "Okt: Megjegyzés – → „Kisegítő úttörő”"},
      {"several at once", kOctober,
       [&](CardContent& c) {
         oct(c).cells[2] = "29.75";
         oct(c).cells[4] = "2";
       },
       "Okt: Óra 24.75 → 29.75, Bt 1 → 2"},
      {"a figure only the other card version has a column for", kOctober,
       [&](CardContent& c) { oct(c).otherFormCells[0] = "2"; }, "Okt: Könyv – → 2"},
      {"the total", kTotal, [](CardContent& c) { c.printedTotals[2] = "29.75"; },
       "Összes: Óra 24.75 → 29.75"},
      {"family name", kHeader,
       [](CardContent& c) {
         c.familyName = "Kiss";
         c.displayName = "Anna Kiss";
       },
       "Fejléc: Név „Anna Kovács” → „Anna Kiss”"},
      {"a full name the card does not show", kHeader,
       [](CardContent& c) {
         c.hasFullName = true;
         c.fullName = "Kovács Anna Mária";
       },
       "Fejléc: Név – → „Kovács Anna Mária”"},
      {"sex", kHeader, [](CardContent& c) { c.sex = SexMark::kMale; }, "Fejléc: F/N Nő → Férfi"},
      {"address", kHeader, [](CardContent& c) { c.homeAddress = "Fő utca 2."; },
       "Fejléc: Lakcím „Fő utca 1.” → „Fő utca 2.”"},
      {"home telephone", kHeader, [](CardContent& c) { c.homeTelephone = "06 1 234 9999"; },
       "Fejléc: Otthoni telefon „06 1 234 5678” → „06 1 234 9999”"},
      {"mobile telephone", kHeader, [](CardContent& c) { c.mobileTelephone = "06301234567"; },
       "Fejléc: Mobiletelefon – → 06301234567"},
      {"date of birth", kHeader, [](CardContent& c) { c.datesOfBirth[0] = "03/12/1970"; },
       "Fejléc: Születési Idö 03/02/1970 → 03/12/1970"},
      {"date immersed", kHeader, [](CardContent& c) { c.datesImmersed[0] = "07/15/2001"; },
       "Fejléc: Bemerítkezés időp. 07/14/2001 → 07/15/2001"},
      {"anointed", kHeader, [](CardContent& c) { c.anointed = true; },
       "Fejléc: Felkent vagy \"más juh\"? „más juh” → felkent"},
      {"elder", kHeader, [](CardContent& c) { c.elder = true; }, "Fejléc: vén nem → igen"},
      {"ministerial servant", kHeader, [](CardContent& c) { c.ministerialServant = true; },
       "Fejléc: kisegítőszolga nem → igen"},
      {"regular pioneer", kHeader, [](CardContent& c) { c.regularPioneer = true; },
       "Fejléc: általános úttörő nem → igen"},
      {"several header fields", kHeader,
       [](CardContent& c) {
         c.homeAddress = "Fő utca 2.";
         c.elder = true;
       },
       "Fejléc: Lakcím „Fő utca 1.” → „Fő utca 2.”, vén nem → igen"},
  };
  for (const Case& c : cases) {
    const CardContent before = Card();
    const auto [values, digest] = Printed(before, c.item);
    CardContent now = before;
    c.change(now);
    EXPECT_EQ(LedgerChangeText(now, c.item, values, digest), c.told) << c.what;
    // The same values that no longer match what the ledger recorded tell nothing.
    EXPECT_EQ(LedgerChangeText(now, c.item, values, digest + 1), LedgerItemName(now, c.item))
        << c.what;
  }
}

// A ledger written before the values were kept, or values another hand left that are not those
// of the line's digest: the item is named, as before.
TEST(LedgerChange, WithoutValuesOfTheRecordedPrintOnlyTheItemIsNamed) {
  const CardContent before = Card();
  CardContent now = before;
  now.rows[1].cells[2] = "29.75";
  const auto [values, digest] = Printed(before, kOctober);
  const auto [otherValues, otherDigest] = Printed(now, kOctober);
  EXPECT_EQ(LedgerChangeText(now, kOctober, "", digest), "Okt");
  EXPECT_EQ(LedgerChangeText(now, kOctober, otherValues, digest), "Okt");  // stale values
  EXPECT_EQ(LedgerChangeText(now, kOctober, "24.75 /", digest), "Okt");    // not values at all
  EXPECT_EQ(LedgerChangeText(now, kHeader, values, digest), "Fejléc");     // another item's
  EXPECT_EQ(LedgerItemList({"Fejléc", "Okt"}), "Fejléc, Okt");
  EXPECT_EQ(LedgerItemList({"Fejléc", LedgerChangeText(now, kOctober, values, digest)}),
            "Fejléc; Okt: Óra 24.75 → 29.75");
}

TEST(LedgerValues, ReadBackAsWrittenWhateverTheTextsHold) {
  const RowData rows[] = {
      {{}, {}, ""},
      {{""}, {}, ""},
      {{"-", "a b", "x/y", "\\", "-5"}, {"\n\r|"}, " a remark with blanks at both ends "},
      {{"1"}, {"2"}, "-"},
      {{"/"}, {"/"}, "/ \\s"},
  };
  for (const RowData& row : rows) {
    const std::string text = ValuesText(row);
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    EXPECT_EQ(ReadRowValues(text), row) << text;
  }
  EXPECT_EQ(ValuesText(RowDataOf(Card(), 1)), "- - 24.75 - 3 1 / - - 24.75 3 1 /");
  for (const TotalData& total : {TotalData{}, TotalData{{"", "1"}, {"2", ""}}})
    EXPECT_EQ(ReadTotalValues(ValuesText(total)), total) << ValuesText(total);
  HeaderData header = HeaderDataOf(Card(), true);
  header[kAddressField] = "Fő utca 1. | 2. em. \\ 3";
  header[kFullNameField] = " Anna ";
  EXPECT_EQ(ReadHeaderValues(ValuesText(header)), header) << ValuesText(header);

  for (const char* bad : {"1 2", "1 / 2", "\\q / /", "1  / /", "- / / "})
    EXPECT_EQ(ReadRowValues(bad), std::nullopt) << bad;
  EXPECT_EQ(ReadTotalValues("1 / 2 / 3"), std::nullopt);
  EXPECT_EQ(ReadHeaderValues("a|b"), std::nullopt);
  EXPECT_EQ(ReadHeaderValues(ValuesText(header) + "|"), std::nullopt);
}

}  // namespace
}  // namespace velunorh
