#pragma once

#include <filesystem>
#include <istream>
#include <string>

#include "tools/companion_writer.h"

namespace velunorh::tools {

// Reads a congregation from its readable line format (described at the top of
// tools/demo_congregation.txt). Every publisher is checked against the file formats as it is
// read, so a WriterError names the line and the field at fault.
Congregation ParseCongregation(std::istream& in, const std::string& sourceName = "description");
Congregation ReadCongregationFile(const std::filesystem::path& file);

}  // namespace velunorh::tools
