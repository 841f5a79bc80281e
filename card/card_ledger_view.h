#pragma once

#include <array>
#include <string>

#include "card/surface.h"

namespace velunorh {

// What the print ledger knows of one line of the card, as the previews show it.
enum class LedgerMark {
  kNone,     // not printed on this card yet (or not part of its year)
  kOnCard,   // printed, and the texts are still those on the paper
  kChanged,  // printed, but the texts differ now: a report was corrected since
};

// The ledger's marks for the monthly preview; decided by the session, placed by the pass.
struct MonthlyLedgerView {
  std::array<LedgerMark, 12> rows{};  // row 0 = September ... 11 = August
  LedgerMark total = LedgerMark::kNone;
  // What changed of each row marked kChanged, and of the total ("Okt: Óra 24.75 → 29.75",
  // LedgerChangeText); "" for the others.
  std::array<std::string, 12> rowChanges{};
  std::string totalChange;
  bool operator==(const MonthlyLedgerView&) const = default;
};

// The ledger's note for the header preview: "" when the header was never printed.
struct HeaderLedgerView {
  std::string note;      // e.g. "Fejléc nyomtatva: 2026.12.10."
  bool changed = false;  // the header's texts differ from those printed
  std::string change;    // when changed: what changed (LedgerChangeText)
  bool operator==(const HeaderLedgerView&) const = default;
};

// Rows whose texts differ from the paper are drawn in this colour.
inline constexpr Color kLedgerWarning{176, 48, 0};

// The marks beside a month name.
inline constexpr Mark kOnCardMark = Mark::kCheck;
inline constexpr Mark kChangedMark = Mark::kExclamation;

}  // namespace velunorh
