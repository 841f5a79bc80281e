// FormatName, FormatDate and IsBaptized of any record, and TrimLeft / TrimRight of any text.
//
// Input: 2 option bytes (date format as a signed byte; bit 0 of the second: decode the record
// as the load does for a scrambled file), then two chunks: the record's bytes (cut or padded to
// 336) and a text to trim.

#include <cstdint>
#include <cstring>
#include <string>

#include "companion/name_date_format.h"
#include "companion/unscramble.h"
#include "fuzz_support.h"

namespace velunorh::fuzz {
namespace {

bool IsWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

void CheckTrim(std::string_view text) {
  std::string left(text);
  TrimLeft(left);
  Check(left.empty() || !IsWhiteSpace(left.front()));
  Check(text.ends_with(left));
  std::string both = left;
  TrimRight(both);
  Check(both.empty() || !IsWhiteSpace(both.back()));
  Check(left.starts_with(both));
}

}  // namespace
}  // namespace velunorh::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace velunorh;
  using namespace velunorh::fuzz;
  FuzzInput input(bytes, size, 2);
  const int fuzzedFormat = static_cast<std::int8_t>(input.Option(0));
  const auto record = input.NextChunk().value_or("");
  const auto trimmed = input.NextChunk();

  PublisherTable table;
  table.slots.assign(PublisherTable::kSlots, PublisherRecord{});
  table.count = 2;
  std::memcpy(table[1].bytes.data(), record.data(),
              std::min(record.size(), PublisherRecord::kSize));
  if (input.Option(1) & 1) UnscrambleRecord(-1, table[1]);

  for (int slot = -1; slot <= 3; ++slot) {
    const bool publisher = slot == 1;
    for (bool familyFirst : {false, true}) {
      const std::string name = FormatName(table, slot, familyFirst);
      Check(IsUtf8(name));
      Check(publisher || name.empty());
    }
    const bool baptized = IsBaptized(table, slot);
    Check(publisher || !baptized);
    for (int format : {fuzzedFormat, 0, 1, 2, 3}) {
      for (const char* language : {"hun", "cz", "eng"}) {
        for (WhichDate which : {WhichDate::kImmersed, WhichDate::kBirth}) {
          const std::string date = FormatDate(table, slot, which, format, language);
          Check(IsUtf8(date));
          Check(publisher || date.empty());
          // Ten characters of the code page and the longest month name, at most.
          Check(date.size() <= 64);
        }
      }
    }
  }
  if (trimmed) CheckTrim(*trimmed);
  return 0;
}
