#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_content.h"

namespace velunorh {

// FNV-1a, 64 bits: stable across runs, builds and platforms, which std::hash is not.
std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325ULL);

// Adds one text to a digest, followed by a byte that no text holds, so that moving a text to
// the next field changes the digest.
std::uint64_t DigestWith(std::uint64_t hash, std::string_view text);

// Digests of exactly the texts a card puts on paper: what the print ledger compares to know
// whether a line on the card is still what the card says now.
std::uint64_t RowDigest(const CardMonthRow& row);
std::uint64_t TotalDigest(const CardContent& card);
std::uint64_t HeaderDigest(const CardContent& card, bool printGenderMarks);

// The data an item of the card prints from, whatever the options make of it (name order, full
// name, date format, card version), field by field: what its data digest is made of, and what
// the ledger keeps beside the digest to tell later which field changed.
struct RowData {
  std::vector<std::string> oldForm, newForm;  // the cells as each card version prints them
  std::string remark;
  bool operator==(const RowData&) const = default;
};
struct TotalData {
  std::vector<std::string> oldForm, newForm;
  bool operator==(const TotalData&) const = default;
};
// The header's fields in the order of its digest; a box as a word when ticked, else "".
enum HeaderField {
  kFamilyNameField,
  kGivenNameField,
  kFullNameField,
  kGenderField,  // kMaleWord, kFemaleWord, or "" (no sex, or printed without the F/N marks)
  kAddressField,
  kHomeTelephoneField,
  kMobileTelephoneField,
  kBirthField,  // as stored: every date format is made from it
  kElderField,
  kServantField,
  kImmersedField,
  kSheepField,  // SheepText when baptized
  kPioneerField,
  kHeaderFields
};
using HeaderData = std::array<std::string, kHeaderFields>;
inline constexpr std::string_view kMaleWord = "male";
inline constexpr std::string_view kFemaleWord = "female";

RowData RowDataOf(const CardContent& card, int row);
TotalData TotalDataOf(const CardContent& card);
HeaderData HeaderDataOf(const CardContent& card, bool printGenderMarks);

// Digests of that data: what a print records in the ledger now.
std::uint64_t DataDigest(const RowData& data);
std::uint64_t DataDigest(const TotalData& data);
std::uint64_t DataDigest(const HeaderData& data);
std::uint64_t RowDataDigest(const CardContent& card, int row);
std::uint64_t TotalDataDigest(const CardContent& card);
std::uint64_t HeaderDataDigest(const CardContent& card, bool printGenderMarks);

// Whether a recorded digest is the card's line as it is now: the data digest, or a digest of
// the texts (as ledgers written before the data digests hold them) under any of the options.
// The header matches with or without the F/N marks: ticking F/N alone corrects nothing.
bool RowMatches(const CardContent& card, int row, std::uint64_t recorded);
bool TotalMatches(const CardContent& card, std::uint64_t recorded);
bool HeaderMatches(const CardContent& card, std::uint64_t recorded);

// Whether a month row puts anything on paper.
bool RowHasText(const CardMonthRow& row);

}  // namespace velunorh
