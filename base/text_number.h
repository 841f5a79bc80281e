#pragma once

#include <string_view>

namespace velunorh {

// The C library's atoi: optional leading white space, an optional sign, then decimal digits;
// stops at the first other character. Saturates instead of overflowing.
int LeadingInteger(std::string_view text);

}  // namespace velunorh
