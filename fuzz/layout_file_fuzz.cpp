// The layout file of a card version: LoadLayout, every slot through LayoutValueToDevice and
// LayoutValueHundredths, SetLayoutValue, and SaveLayout read back.
//
// Input: 6 option bytes (card version, units per inch, an offset for SetLayoutValue), then two
// chunks: the layout file and a text for SetLayoutValue.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "card/card_layout.h"
#include "fuzz_support.h"

namespace velunorh::fuzz {
namespace {

// Whole inches are one digit (0-9) and hundredths the atoi of at most two characters (-9..99).
void CheckDevice(const std::string& value, int unitsPerInch) {
  const long long device = LayoutValueToDevice(value, unitsPerInch);
  const long long upi = unitsPerInch;
  const long long a = upi * -9 / 100;
  const long long b = upi * 9 + upi * 99 / 100;
  Check(device >= std::min(a, b) && device <= std::max(a, b));
}

void CheckValue(const std::string& value, int unitsPerInch) {
  Check(value.size() <= CardLayout::kValueSize);
  for (int upi : {unitsPerInch, 0, 1, 72, 96, 100, 300, 600, 1200, 2400, -600, INT_MAX, INT_MIN}) {
    CheckDevice(value, upi);
  }
  const int hundredths = LayoutValueHundredths(value);
  Check(hundredths == LayoutValueToDevice(value, 100));
  Check(hundredths >= -9 && hundredths <= 999);
}

}  // namespace
}  // namespace velunorh::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace velunorh;
  using namespace velunorh::fuzz;
  FuzzInput input(bytes, size, 6);
  const int version = input.Option(0) % 5;
  const int unitsPerInch = static_cast<std::int16_t>(input.Option16(1));
  const std::size_t setOffset = input.Option16(3) % (CardLayout::kSize + 16);
  const auto& folder = ScratchFolder();
  const auto file = input.NextChunk();
  const auto text = input.NextChunk();
  PutFile(folder / LayoutFileName(version), file);

  CardLayout layout;
  layout.bytes.fill(0xAA);
  const bool loaded = LoadLayout(layout, folder, version);
  Check(loaded == (file && file->size() >= CardLayout::kSize));
  if (loaded) {
    Check(std::memcmp(layout.bytes.data(), file->data(), CardLayout::kSize) == 0);
  } else {
    Check(layout == CardLayout{});
  }

  for (std::size_t offset = 0; offset <= CardLayout::kSize + 8; ++offset) {
    const std::string value = layout.LayoutValue(offset);
    if (offset + CardLayout::kValueSize > CardLayout::kSize) Check(value.empty());
    CheckValue(value, unitsPerInch);
  }

  // Saved and loaded again: the same 400 bytes, reserved and stale bytes included.
  Check(SaveLayout(layout, folder, version));
  CardLayout again;
  Check(LoadLayout(again, folder, version));
  Check(again == layout);

  // Setting a slot changes that slot only and reads back its first 7 bytes up to a NUL.
  if (text) {
    CardLayout changed = layout;
    changed.SetLayoutValue(setOffset, *text);
    const bool inside = setOffset + CardLayout::kValueSize <= CardLayout::kSize;
    for (std::size_t i = 0; i < CardLayout::kSize; ++i) {
      if (!inside || i < setOffset || i >= setOffset + CardLayout::kValueSize) {
        Check(changed.bytes[i] == layout.bytes[i]);
      }
    }
    if (inside) {
      std::string expected(text->substr(0, CardLayout::kMaxValueLength));
      expected = expected.substr(0, expected.find('\0'));
      Check(changed.LayoutValue(setOffset) == expected);
      CheckValue(changed.LayoutValue(setOffset), unitsPerInch);
    }
  }
  return 0;
}
