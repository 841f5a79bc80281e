// NormalizeLayoutValue of any typed text.
//
// Input: the text itself.

#include <cstdint>
#include <string>

#include "card/card_layout.h"
#include "fuzz_support.h"

namespace velunorh::fuzz {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// D.DD, or D.DD and more digits ("1.234" stays as typed).
bool InNormalForm(const std::string& text) {
  if (text.size() < 4 || !IsDigit(text[0]) || text[1] != '.') return false;
  for (std::size_t i = 2; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
  }
  return true;
}

}  // namespace
}  // namespace velunorh::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace velunorh;
  using namespace velunorh::fuzz;
  const std::string typed(reinterpret_cast<const char*>(bytes), size);
  std::string text = typed;
  if (!NormalizeLayoutValue(text)) {
    Check(text == typed);  // a rejected text stays as typed
    return 0;
  }
  Check(InNormalForm(text));
  const int hundredths = (text[0] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
  Check(LayoutValueHundredths(text) == hundredths);
  Check(LayoutValueToDevice(text, 600) == 600 * hundredths / 100);
  // The normal form passes again unchanged.
  std::string again = text;
  Check(NormalizeLayoutValue(again));
  Check(again == text);
  return 0;
}
