#pragma once

#include <cstdint>
#include <string_view>

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

// Digests of the data those texts are printed from, whatever the options make of it (name
// order, full name, date format, card version): what a print records in the ledger now.
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
