#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velunorh::tools {

// A description or a value the companion program's files cannot hold.
class WriterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Which stored bytes the reader leaves undecoded: a byte equal to 204 anywhere in a name, only
// within the first 30 characters of the address, nowhere in the other fields.
enum class Exempt204 { kNowhere, kEverywhere, kFirst30 };

// Everything a text field needs to be encoded, and the words an error message names it by.
struct TextField {
  std::size_t offset;
  std::size_t width;  // bytes in the record; the text holds at most width - 1
  Exempt204 exempt;
  const char* name;
};

// The UTF-8 text in the edition's code page. Throws WriterError (naming `owner` and the field)
// for a character the code page cannot hold or a NUL inside the text.
std::string ToCodePage(std::string_view utf8, const std::string& owner, const char* field);

// Stores `utf8` into bytes[offset .. offset+width), NUL-padded, scrambled when asked: byte i
// becomes (c + i + 47) mod 256, except a 204 where the reader leaves it. Refuses a text longer
// than the field and one whose scrambled form would not decode to the same text (a scrambled
// byte of 0 would end it early; a scrambled 204 where the reader keeps 204 would stay so).
void PutTextField(std::uint8_t* record, const TextField& field, std::string_view utf8,
                  bool scrambled, const std::string& owner);

}  // namespace velunorh::tools
