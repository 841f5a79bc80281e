#include "companion/extension_record.h"

#include <algorithm>

#include "base/codepage.h"

namespace velunorh {

namespace {

constexpr ExtensionRecord::Field kTextFields[] = {
    ExtensionRecord::kFullName, ExtensionRecord::kExtensionText2, ExtensionRecord::kExtensionText3};

// Each byte is shifted back by its position + 47. The text's length is taken as it shrinks: a
// byte that decodes to NUL ends the text, and the bytes after it are left as stored.
void DecodeField(std::uint8_t* field, std::size_t width) {
  for (std::size_t i = 0; i < width && field[i] != 0; ++i) {
    field[i] = static_cast<std::uint8_t>(field[i] - (i + 47));
    if (field[i] == 0) break;
  }
}

}  // namespace

std::string ExtensionRecord::RawText(Field field) const {
  const auto* begin = bytes.data() + field.offset;
  const auto* end = std::find(begin, begin + field.width, std::uint8_t{0});
  return std::string(begin, end);
}

std::string ExtensionRecord::fullName() const {
  return CodePageToUtf8(RawText(kFullName));
}

void ExtensionRecord::Unscramble() {
  for (const Field& field : kTextFields) {
    bytes[field.offset + field.width - 1] = 0;
    DecodeField(bytes.data() + field.offset, field.width);
  }
}

}  // namespace velunorh
