#include "session/type_ahead.h"

#include <cctype>

namespace velunorh {
namespace {

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

std::optional<int> FindFirst(const std::vector<std::string>& lines, const std::string& prefix) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (StartsWithIgnoringCase(lines[i], prefix)) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace

bool TypeAhead::IsLetter(char32_t c) {
  return c < 0x80 && std::isalpha(static_cast<unsigned char>(c));
}

std::optional<int> TypeAhead::Type(char32_t c, const std::vector<std::string>& lines) {
  if (!IsLetter(c)) return std::nullopt;
  prefix_ += static_cast<char>(c);
  std::optional<int> found = FindFirst(lines, prefix_);
  if (!found) {
    prefix_ = std::string(1, static_cast<char>(c));
    found = FindFirst(lines, prefix_);
    if (!found) prefix_.clear();
  }
  if (prefix_.size() > kMaxPrefix - 1) prefix_.clear();
  return found;
}

}  // namespace velunorh
