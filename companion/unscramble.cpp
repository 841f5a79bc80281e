#include "companion/unscramble.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace velunorh {
namespace {

using R = PublisherRecord;

constexpr std::uint8_t kKeptByte = 204;
constexpr unsigned kShiftBase = 47;

// How far into a field a stored 204 is left undecoded.
constexpr std::size_t kNowhere = 0;
constexpr std::size_t kFirst30 = 30;
constexpr std::size_t kEverywhere = 0xFFFF;

struct ScrambledField {
  R::Field field;
  std::size_t keeps204Below;
};

constexpr ScrambledField kScrambledFields[] = {
    {R::kGivenName, kEverywhere},  {R::kFamilyName, kEverywhere},   {R::kHomeAddress, kFirst30},
    {R::kHomeTelephone, kNowhere}, {R::kMobileTelephone, kNowhere}, {R::kSpareText, kNowhere},
    {R::kDateImmersed, kNowhere},  {R::kDateOfBirth, kNowhere},
};

// The last byte of these fields ends their text whatever the file holds.
constexpr std::size_t kForcedNuls[] = {22, 43, 106, 121, 160, 169};

void ShiftField(int factor, std::uint8_t* field, const ScrambledField& rules) {
  const std::size_t width = rules.field.width;
  const void* nul = std::memchr(field, 0, width);
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - field) : width;
  // Byte arithmetic wraps modulo 256, so the shift of byte i is exact for any factor: it starts
  // at factor × 47 and grows by factor at each byte.
  const auto step = static_cast<std::uint8_t>(static_cast<unsigned>(factor));
  auto shift = static_cast<std::uint8_t>(static_cast<unsigned>(factor) * kShiftBase);
  const std::size_t keepsUpTo = std::min(length, rules.keeps204Below);
  std::size_t i = 0;
  for (; i < keepsUpTo; ++i, shift = static_cast<std::uint8_t>(shift + step)) {
    if (field[i] != kKeptByte) field[i] = static_cast<std::uint8_t>(field[i] + shift);
  }
  for (; i < length; ++i, shift = static_cast<std::uint8_t>(shift + step)) {
    field[i] = static_cast<std::uint8_t>(field[i] + shift);
  }
}

}  // namespace

void UnscrambleRecord(int factor, PublisherRecord& record) {
  for (std::size_t at : kForcedNuls) record.bytes[at] = 0;
  for (const auto& rules : kScrambledFields) {
    ShiftField(factor, record.bytes.data() + rules.field.offset, rules);
  }
}

void UnscrambleTable(int factor, PublisherTable& table) {
  const int last = std::min(table.count, static_cast<int>(table.slots.size()));
  for (int slot = 0; slot < last; ++slot) UnscrambleRecord(factor, table[slot]);
}

}  // namespace velunorh
