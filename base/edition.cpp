#include "base/edition.h"

#include <clocale>
#include <utility>

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

std::string_view IsoLanguage(std::string_view languageCode) {
  static constexpr std::pair<std::string_view, std::string_view> kLanguages[] = {
      {"hun", "hu"},     {"cz", "cs"},  {"sk", "sk"},  {"polish", "pl"}, {"rom", "ro"},
      {"turkish", "tr"}, {"ell", "el"}, {"rus", "ru"}, {"lt", "lt"},     {"portuguese", "pt"},
  };
  for (const auto& [code, iso] : kLanguages)
    if (code == languageCode) return iso;
  return {};
}

bool IsCzech(std::string_view languageCode) {
  return languageCode == "cz";
}

bool IsPortuguese(std::string_view languageCode) {
  return languageCode == "portuguese";
}

}  // namespace velunorh
