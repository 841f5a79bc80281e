#pragma once

#include <string>
#include <string_view>

namespace velunorh {

// The edition's language code: string 133 of the string table ("hun" in this edition). The
// functions below compare a code exactly and case-sensitively against fixed codes, and take
// it as a parameter so every code can be tried.
std::string LanguageCode();

// The Windows character-set number for the header preview's font: 238 Central European ("rom",
// "cz", "polish", "sk"), 162 Turkish ("turkish"), 161 Greek ("ell"), 204 Cyrillic ("rus"),
// 186 Baltic ("lt"), 0 ANSI for every other code.
int FontCharset(std::string_view languageCode);

// Whether the edition sets the C runtime locale (all categories) to its code at start: "rom"
// and "turkish".
bool SetsRuntimeLocale(std::string_view languageCode);

// Sets the C runtime locale to the code when the edition asks for it. True when a locale was
// set; a locale the system does not know leaves everything as it was, which is harmless.
bool ApplyRuntimeLocale(const std::string& languageCode);

// The ISO 639-1 name of the edition's language ("hu" for "hun"), "" for a code without one.
std::string_view IsoLanguage(std::string_view languageCode);

// The Czech edition: its dates read day/month/year, its header preview swaps two box labels,
// and it ticks F/N by itself for a publisher with a sex.
bool IsCzech(std::string_view languageCode);

// The Portuguese edition reads and writes the first-name sort setting and sorts the list.
bool IsPortuguese(std::string_view languageCode);

}  // namespace velunorh
