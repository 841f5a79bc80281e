#include "card/card_digest.h"

namespace velunorh {

std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash) {
  for (unsigned char byte : bytes) {
    hash ^= byte;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::uint64_t DigestWith(std::uint64_t hash, std::string_view text) {
  constexpr char kSeparator = '\x1f';  // no text of a card holds it
  return Fnv1a64(std::string_view(&kSeparator, 1), Fnv1a64(text, hash));
}

namespace {

std::uint64_t CellsDigest(std::uint64_t hash, const std::vector<std::string>& cells) {
  for (const std::string& cell : cells) hash = DigestWith(hash, cell);
  return hash;
}

std::uint64_t RowWordsDigest(const std::vector<std::string>& cells, const std::string& remark) {
  return DigestWith(CellsDigest(Fnv1a64({}), cells), remark);
}

std::string_view GenderWord(const CardContent& card, bool printGenderMarks) {
  if (!printGenderMarks) return {};
  return card.sex == SexMark::kMale ? kMaleWord : card.sex == SexMark::kFemale ? kFemaleWord : "";
}

// The header's texts in the order the header block prints them; a box mark as the box it marks.
std::uint64_t HeaderWordsDigest(const CardContent& card, const std::string& name,
                                const std::string& birth, const std::string& immersed,
                                bool printGenderMarks) {
  std::uint64_t hash = Fnv1a64({});
  hash = DigestWith(hash, name);
  hash = DigestWith(hash, GenderWord(card, printGenderMarks));
  hash = DigestWith(hash, card.homeAddress);
  hash = DigestWith(hash, card.homeTelephone);
  hash = DigestWith(hash, card.mobileTelephone);
  hash = DigestWith(hash, birth);
  hash = DigestWith(hash, card.elder ? "elder" : "");
  hash = DigestWith(hash, card.ministerialServant ? "servant" : "");
  hash = DigestWith(hash, immersed);
  hash = DigestWith(hash, card.baptized ? SheepText(card.anointed) : "");
  return DigestWith(hash, card.regularPioneer ? "pioneer" : "");
}

// A data digest starts from its own tag, so that it never equals a digest of the texts.
std::uint64_t DataDigestStart(std::string_view tag) {
  return DigestWith(Fnv1a64({}), tag);
}

const std::vector<std::string>& OldFormCells(const CardContent& card, const CardMonthRow& row) {
  return card.newForm ? row.otherFormCells : row.cells;
}
const std::vector<std::string>& NewFormCells(const CardContent& card, const CardMonthRow& row) {
  return card.newForm ? row.cells : row.otherFormCells;
}

std::uint64_t RowDataDigestOf(const std::vector<std::string>& oldForm,
                              const std::vector<std::string>& newForm, std::string_view remark) {
  std::uint64_t hash = CellsDigest(DataDigestStart("row"), oldForm);
  hash = CellsDigest(DigestWith(hash, {}), newForm);
  return DigestWith(hash, remark);
}

std::uint64_t TotalDataDigestOf(const std::vector<std::string>& oldForm,
                                const std::vector<std::string>& newForm) {
  return CellsDigest(DigestWith(CellsDigest(DataDigestStart("total"), oldForm), {}), newForm);
}

}  // namespace

std::uint64_t RowDigest(const CardMonthRow& row) {
  return RowWordsDigest(row.cells, row.remark);
}

std::uint64_t TotalDigest(const CardContent& card) {
  return CellsDigest(Fnv1a64({}), card.printedTotals);
}

std::uint64_t HeaderDigest(const CardContent& card, bool printGenderMarks) {
  return HeaderWordsDigest(card, card.displayName, card.dateOfBirth, card.dateImmersed,
                           printGenderMarks);
}

RowData RowDataOf(const CardContent& card, int row) {
  const CardMonthRow& line = card.rows[row];
  return {OldFormCells(card, line), NewFormCells(card, line), line.remark};
}

TotalData TotalDataOf(const CardContent& card) {
  return {card.newForm ? card.otherFormTotals : card.printedTotals,
          card.newForm ? card.printedTotals : card.otherFormTotals};
}

HeaderData HeaderDataOf(const CardContent& card, bool printGenderMarks) {
  HeaderData data;
  data[kFamilyNameField] = card.familyName;
  data[kGivenNameField] = card.givenName;
  data[kFullNameField] = card.fullName;
  data[kGenderField] = GenderWord(card, printGenderMarks);
  data[kAddressField] = card.homeAddress;
  data[kHomeTelephoneField] = card.homeTelephone;
  data[kMobileTelephoneField] = card.mobileTelephone;
  data[kBirthField] = card.datesOfBirth[0];
  data[kElderField] = card.elder ? "elder" : "";
  data[kServantField] = card.ministerialServant ? "servant" : "";
  data[kImmersedField] = card.datesImmersed[0];
  data[kSheepField] = card.baptized ? SheepText(card.anointed) : "";
  data[kPioneerField] = card.regularPioneer ? "pioneer" : "";
  return data;
}

std::uint64_t DataDigest(const RowData& data) {
  return RowDataDigestOf(data.oldForm, data.newForm, data.remark);
}

std::uint64_t DataDigest(const TotalData& data) {
  return TotalDataDigestOf(data.oldForm, data.newForm);
}

std::uint64_t DataDigest(const HeaderData& data) {
  std::uint64_t hash = DataDigestStart("header");
  for (const std::string& field : data) hash = DigestWith(hash, field);
  return hash;
}

std::uint64_t RowDataDigest(const CardContent& card, int row) {
  const CardMonthRow& line = card.rows[row];
  return RowDataDigestOf(OldFormCells(card, line), NewFormCells(card, line), line.remark);
}

std::uint64_t TotalDataDigest(const CardContent& card) {
  return TotalDataDigestOf(card.newForm ? card.otherFormTotals : card.printedTotals,
                           card.newForm ? card.printedTotals : card.otherFormTotals);
}

std::uint64_t HeaderDataDigest(const CardContent& card, bool printGenderMarks) {
  return DataDigest(HeaderDataOf(card, printGenderMarks));
}

bool RowMatches(const CardContent& card, int row, std::uint64_t recorded) {
  const CardMonthRow& line = card.rows[row];
  return recorded == RowDataDigest(card, row) || recorded == RowDigest(line) ||
         recorded == RowWordsDigest(line.otherFormCells, line.remark);
}

bool TotalMatches(const CardContent& card, std::uint64_t recorded) {
  return recorded == TotalDataDigest(card) || recorded == TotalDigest(card) ||
         recorded == CellsDigest(Fnv1a64({}), card.otherFormTotals);
}

bool HeaderMatches(const CardContent& card, std::uint64_t recorded) {
  for (bool marks : {false, true}) {
    if (recorded == HeaderDataDigest(card, marks) || recorded == HeaderDigest(card, marks))
      return true;
    // A ledger written before the data digests holds the words: any name order, full name or
    // date format they were printed with is the same header.
    std::vector<std::string> names = {card.familyName + ", " + card.givenName,
                                      card.givenName + " " + card.familyName};
    if (!card.fullName.empty()) names.push_back(card.fullName);
    for (const std::string& name : names)
      for (int format = 0; format < kDateFormats; ++format)
        if (recorded == HeaderWordsDigest(card, name, card.datesOfBirth[format],
                                          card.datesImmersed[format], marks))
          return true;
  }
  return false;
}

bool RowHasText(const CardMonthRow& row) {
  if (!row.remark.empty()) return true;
  for (const std::string& cell : row.cells)
    if (!cell.empty()) return true;
  return false;
}

}  // namespace velunorh
