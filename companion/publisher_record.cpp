#include "companion/publisher_record.h"

#include <algorithm>

#include "base/codepage.h"

namespace velunorh {

std::string PublisherRecord::RawText(Field field) const {
  const auto* begin = bytes.data() + field.offset;
  const auto* end = std::find(begin, begin + field.width, std::uint8_t{0});
  return std::string(begin, end);
}

std::string PublisherRecord::Text(Field field) const {
  return CodePageToUtf8(RawText(field));
}

void PublisherRecord::SetRawText(Field field, const std::string& raw) {
  auto* begin = bytes.data() + field.offset;
  std::fill(begin, begin + field.width, std::uint8_t{0});
  std::size_t n = std::min(raw.size(), field.width - 1);
  std::copy(raw.begin(), raw.begin() + n, begin);
}

}  // namespace velunorh
