#include "session/print_file_name.h"

#include <array>
#include <utility>

namespace velunorh {
namespace {

// The accented letters of the edition, as UTF-8, and their plain letter.
constexpr std::array<std::pair<std::string_view, char>, 18> kPlainLetters = {{
    {"á", 'a'},
    {"é", 'e'},
    {"í", 'i'},
    {"ó", 'o'},
    {"ö", 'o'},
    {"ő", 'o'},
    {"ú", 'u'},
    {"ü", 'u'},
    {"ű", 'u'},
    {"Á", 'A'},
    {"É", 'E'},
    {"Í", 'I'},
    {"Ó", 'O'},
    {"Ö", 'O'},
    {"Ő", 'O'},
    {"Ú", 'U'},
    {"Ü", 'U'},
    {"Ű", 'U'},
}};

bool IsPlain(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

std::string PrintFileName(std::string_view words) {
  std::string name;
  bool gap = false;
  auto add = [&](char c) {
    if (gap && !name.empty()) name += '_';
    gap = false;
    name += c;
  };
  for (std::size_t i = 0; i < words.size();) {
    if (IsPlain(words[i])) {
      add(words[i++]);
      continue;
    }
    bool letter = false;
    for (const auto& [accented, plain] : kPlainLetters) {
      if (words.substr(i, accented.size()) == accented) {
        add(plain);
        i += accented.size();
        letter = true;
        break;
      }
    }
    if (letter) continue;
    // Anything else (a blank, a comma, a letter without a plain form) separates words.
    gap = true;
    ++i;
  }
  return name.empty() ? "S21.pdf" : name + "_S21.pdf";
}

}  // namespace velunorh
