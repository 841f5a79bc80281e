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
  } cases[] = {
      {"rom", 238, true, false},       {"turkish", 162, true, false},
      {"ell", 161, false, false},      {"rus", 204, false, false},
      {"cz", 238, false, false},       {"polish", 238, false, false},
      {"sk", 238, false, false},       {"lt", 186, false, false},
      {"portuguese", 0, false, true},  {"hun", 0, false, false},
      {"", 0, false, false},           {"ROM", 0, false, false},  // exact and case-sensitive
      {"Portuguese", 0, false, false}, {"romx", 0, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FontCharset(c.code), c.charset) << c.code;
    EXPECT_EQ(SetsRuntimeLocale(c.code), c.setsLocale) << c.code;
    EXPECT_EQ(IsPortuguese(c.code), c.portuguese) << c.code;
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
