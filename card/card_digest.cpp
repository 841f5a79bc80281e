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

const char* GenderWord(const CardContent& card, bool printGenderMarks) {
  if (!printGenderMarks) return "";
  return card.sex == SexMark::kMale ? "male" : card.sex == SexMark::kFemale ? "female" : "";
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

std::uint64_t RowDataDigest(const CardContent& card, int row) {
  const CardMonthRow& line = card.rows[row];
  std::uint64_t hash = CellsDigest(DataDigestStart("row"), OldFormCells(card, line));
  hash = CellsDigest(DigestWith(hash, {}), NewFormCells(card, line));
  return DigestWith(hash, line.remark);
}

std::uint64_t TotalDataDigest(const CardContent& card) {
  const auto& oldForm = card.newForm ? card.otherFormTotals : card.printedTotals;
  const auto& newForm = card.newForm ? card.printedTotals : card.otherFormTotals;
  return CellsDigest(DigestWith(CellsDigest(DataDigestStart("total"), oldForm), {}), newForm);
}

std::uint64_t HeaderDataDigest(const CardContent& card, bool printGenderMarks) {
  std::uint64_t hash = DataDigestStart("header");
  hash = DigestWith(hash, card.familyName);
  hash = DigestWith(hash, card.givenName);
  hash = DigestWith(hash, card.fullName);
  hash = DigestWith(hash, GenderWord(card, printGenderMarks));
  hash = DigestWith(hash, card.homeAddress);
  hash = DigestWith(hash, card.homeTelephone);
  hash = DigestWith(hash, card.mobileTelephone);
  hash = DigestWith(hash, card.datesOfBirth[0]);  // as stored: every format is made from it
  hash = DigestWith(hash, card.elder ? "elder" : "");
  hash = DigestWith(hash, card.ministerialServant ? "servant" : "");
  hash = DigestWith(hash, card.datesImmersed[0]);
  hash = DigestWith(hash, card.baptized ? SheepText(card.anointed) : "");
  return DigestWith(hash, card.regularPioneer ? "pioneer" : "");
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
