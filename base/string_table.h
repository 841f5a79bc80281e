#pragma once

#include <string>

namespace velunorh {

// The edition's string table, compiled into the program. Texts are UTF-8.
// An id that is not in the table reads as the empty text.
std::string LoadString(int id);

// The string read as a decimal integer (leading blanks, sign and digits); 0 when it holds none.
int LoadStringInt(int id);

}  // namespace velunorh
