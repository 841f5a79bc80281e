#include <algorithm>

#include "base/codepage.h"
#include "companion/remark_table.h"

namespace velunorh {

std::string RemarkRecord::remarkText() const {
  const auto* begin = bytes.data();
  const auto* end = std::find(begin, begin + kTextWidth, std::uint8_t{0});
  return CodePageToUtf8(std::string(begin, end));
}

void RemarkRecord::TerminateText() {
  bytes[kTextWidth - 1] = 0;
  bytes[kTextWidth] = 0;
}

}  // namespace velunorh
