#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "base/string_id.h"

namespace velunorh {

// The edition's string table, compiled into the program. Texts are UTF-8.
// An id that is not in the table reads as the empty text.
std::string LoadString(StringId id);

// The string read as a decimal integer (leading blanks, sign and digits); 0 when it holds none.
int LoadStringInt(StringId id);

// One text of a run of `count` consecutive entries that starts at `first` (the twelve month
// names, one text per card version, ...). An offset outside the run reads as the empty text
// rather than as a neighbouring entry that means something else.
std::string LoadStringOfRun(StringId first, int count, int offset);

// The text with %1, %2, ... replaced by the arguments in order; a number without an argument
// stays as it is.
std::string LoadStringWith(StringId id, std::initializer_list<std::string_view> arguments);

}  // namespace velunorh
