#include "base/edition.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace velunorh {
namespace {

TEST(Edition, ThisEditionIsHungarian) {
  EXPECT_EQ(LanguageCode(), "hun");
}

TEST(Edition, SwitchesByLanguageCode) {
  struct Case {
    const char* code;
    int charset;
    bool setsLocale;
    bool portuguese;
    bool czech;
    const char* iso;
  } cases[] = {
      {"rom", 238, true, false, false, "ro"},
      {"turkish", 162, true, false, false, "tr"},
      {"ell", 161, false, false, false, "el"},
      {"rus", 204, false, false, false, "ru"},
      {"cz", 238, false, false, true, "cs"},
      {"polish", 238, false, false, false, "pl"},
      {"sk", 238, false, false, false, "sk"},
      {"lt", 186, false, false, false, "lt"},
      {"portuguese", 0, false, true, false, "pt"},
      {"hun", 0, false, false, false, "hu"},
      {"", 0, false, false, false, ""},
      {"ROM", 0, false, false, false, ""},  // exact and case-sensitive
      {"CZ", 0, false, false, false, ""},
      {"Portuguese", 0, false, false, false, ""},
      {"romx", 0, false, false, false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FontCharset(c.code), c.charset) << c.code;
    EXPECT_EQ(SetsRuntimeLocale(c.code), c.setsLocale) << c.code;
    EXPECT_EQ(IsPortuguese(c.code), c.portuguese) << c.code;
    EXPECT_EQ(IsCzech(c.code), c.czech) << c.code;
    EXPECT_EQ(IsoLanguage(c.code), c.iso) << c.code;
  }
}

TEST(Edition, RuntimeLocaleIsLeftAloneUnlessSetAndKnown) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  EXPECT_FALSE(ApplyRuntimeLocale("hun"));
  EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);

  // "rom" is unknown to most systems: then nothing changes and nothing fails.
  if (!ApplyRuntimeLocale("rom")) {
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
  }
  std::setlocale(LC_ALL, before.c_str());
}

}  // namespace
}  // namespace velunorh
