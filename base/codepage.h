#pragma once

#include <string>
#include <string_view>

namespace velunorh {

// Text in the data files is single-byte text of the edition's Windows code page
// (windows-1250 for the Hungarian edition). Everything above the record layer is UTF-8.
std::string CodePageToUtf8(std::string_view bytes);

// The reverse, for the companion-format writer and for comparisons with typed text.
// Characters the code page cannot hold become '?'.
std::string Utf8ToCodePage(std::string_view utf8);

}  // namespace velunorh
