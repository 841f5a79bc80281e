#include "base/edition.h"

#include <clocale>

#include "base/string_table.h"

namespace velunorh {

std::string LanguageCode() {
  return LoadString(StringId::LanguageCode);
}

int FontCharset(std::string_view languageCode) {
  struct Row {
    std::string_view code;
    int charset;
  };
  static constexpr Row kRows[] = {{"rom", 238}, {"turkish", 162}, {"ell", 161}, {"rus", 204},
                                  {"cz", 238},  {"polish", 238},  {"sk", 238},  {"lt", 186}};
  for (const Row& row : kRows) {
    if (row.code == languageCode) return row.charset;
  }
  return 0;
}

bool SetsRuntimeLocale(std::string_view languageCode) {
  return languageCode == "rom" || languageCode == "turkish";
}

bool ApplyRuntimeLocale(const std::string& languageCode) {
  if (!SetsRuntimeLocale(languageCode)) return false;
  return std::setlocale(LC_ALL, languageCode.c_str()) != nullptr;
}

bool IsCzech(std::string_view languageCode) {
  return languageCode == "cz";
}

bool IsPortuguese(std::string_view languageCode) {
  return languageCode == "portuguese";
}

}  // namespace velunorh
