#include "tools/field_encoding.h"

#include <algorithm>

#include "base/codepage.h"

namespace velunorh::tools {
namespace {

constexpr int kShiftBase = 47;
constexpr std::uint8_t kKeptByte = 204;

bool KeepsStored204(Exempt204 exempt, std::size_t i) {
  switch (exempt) {
    case Exempt204::kEverywhere:
      return true;
    case Exempt204::kFirst30:
      return i <= 29;
    case Exempt204::kNowhere:
      break;
  }
  return false;
}

[[noreturn]] void Refuse(const std::string& owner, const char* field, const std::string& why) {
  throw WriterError(owner + ": " + field + " " + why);
}

}  // namespace

std::string ToCodePage(std::string_view utf8, const std::string& owner, const char* field) {
  if (utf8.find('\0') != std::string_view::npos) Refuse(owner, field, "holds a NUL character");
  std::string bytes = Utf8ToCodePage(utf8);
  if (CodePageToUtf8(bytes) != utf8) {
    Refuse(owner, field,
           "\"" + std::string(utf8) + "\" holds a character that windows-1250 cannot store");
  }
  return bytes;
}

void PutTextField(std::uint8_t* record, const TextField& field, std::string_view utf8,
                  bool scrambled, const std::string& owner) {
  const std::string plain = ToCodePage(utf8, owner, field.name);
  const std::size_t capacity = field.width - 1;
  if (plain.size() > capacity) {
    Refuse(owner, field.name,
           "\"" + std::string(utf8) + "\" is " + std::to_string(plain.size()) +
               " characters long; the field holds " + std::to_string(capacity));
  }
  std::uint8_t* out = record + field.offset;
  std::fill(out, out + field.width, std::uint8_t{0});
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const auto c = static_cast<std::uint8_t>(plain[i]);
    if (!scrambled || (c == kKeptByte && KeepsStored204(field.exempt, i))) {
      out[i] = c;
      continue;
    }
    const auto stored = static_cast<std::uint8_t>(c + i + kShiftBase);
    const std::string where = "\"" + std::string(utf8) + "\": the byte at position " +
                              std::to_string(i) + " scrambles to ";
    if (stored == 0) Refuse(owner, field.name, where + "0, which would end the text early");
    if (stored == kKeptByte && KeepsStored204(field.exempt, i)) {
      Refuse(owner, field.name, where + "204, which is read back undecoded");
    }
    out[i] = stored;
  }
}

}  // namespace velunorh::tools
