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

std::uint64_t RowDigest(const CardMonthRow& row) {
  std::uint64_t hash = Fnv1a64({});
  for (const std::string& cell : row.cells) hash = DigestWith(hash, cell);
  return DigestWith(hash, row.remark);
}

std::uint64_t TotalDigest(const CardContent& card) {
  std::uint64_t hash = Fnv1a64({});
  for (const std::string& total : card.printedTotals) hash = DigestWith(hash, total);
  return hash;
}

std::uint64_t HeaderDigest(const CardContent& card, bool printGenderMarks) {
  // The texts in the order the header block prints them; a box mark as the box it marks.
  std::uint64_t hash = Fnv1a64({});
  hash = DigestWith(hash, card.displayName);
  hash = DigestWith(hash, printGenderMarks && card.sex == SexMark::kMale     ? "male"
                          : printGenderMarks && card.sex == SexMark::kFemale ? "female"
                                                                             : "");
  hash = DigestWith(hash, card.homeAddress);
  hash = DigestWith(hash, card.homeTelephone);
  hash = DigestWith(hash, card.mobileTelephone);
  hash = DigestWith(hash, card.dateOfBirth);
  hash = DigestWith(hash, card.elder ? "elder" : "");
  hash = DigestWith(hash, card.ministerialServant ? "servant" : "");
  hash = DigestWith(hash, card.dateImmersed);
  hash = DigestWith(hash, card.baptized ? SheepText(card.anointed) : "");
  return DigestWith(hash, card.regularPioneer ? "pioneer" : "");
}

bool RowHasText(const CardMonthRow& row) {
  if (!row.remark.empty()) return true;
  for (const std::string& cell : row.cells)
    if (!cell.empty()) return true;
  return false;
}

}  // namespace velunorh
