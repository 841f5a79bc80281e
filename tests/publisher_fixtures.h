#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/companion_writer.h"

namespace velunorh::test {

// A publisher file of publishers named "<given> Kiss", ids 1, 2, ..., with a password.
inline tools::PublisherFile Publishers(const std::vector<std::string>& givenNames,
                                       std::string password = " ") {
  tools::PublisherFile file;
  file.password = std::move(password);
  std::uint16_t id = 1;
  for (const auto& name : givenNames) {
    tools::Publisher p;
    p.givenName = name;
    p.familyName = "Kiss";
    p.id = id++;
    file.publishers.push_back(p);
  }
  return file;
}

// Writes the file as "tdat7.bin" of `folder`, leaving the folder's other files alone.
inline void WritePublisherFile(const std::filesystem::path& folder,
                               const tools::PublisherFile& file) {
  tools::WriteBytesFile(folder / "tdat7.bin", tools::PublisherFileBytes(file));
}

}  // namespace velunorh::test
