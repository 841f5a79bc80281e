#pragma once

#include <string>
#include <string_view>

namespace velunorh {

// The file name a print to a PDF file proposes: the words (a publisher's name, a group's
// caption) in plain letters joined by "_", then "_S21.pdf" ("Kovács János" gives
// "Kovacs_Janos_S21.pdf"), so that the name is safe on every file system and a share.
std::string PrintFileName(std::string_view words);

}  // namespace velunorh
