#pragma once

// What the fuzz targets share: a scratch folder made once per process, the data folder written
// from the input's chunks, and the invariant check.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "companion/congregation_data.h"
#include "fuzz_input.h"

namespace velunorh::fuzz {

// An invariant that must hold: a crash that libFuzzer reports with its input.
inline void Check(bool holds) {
  if (!holds) __builtin_trap();
}

// A folder of its own for this process, removed at normal exit. Made once: the targets write
// their files into it on every run.
const std::filesystem::path& ScratchFolder();

// Writes `bytes` as the file, or removes the file when the chunk is absent.
void PutFile(const std::filesystem::path& file, std::optional<std::string_view> bytes);

// The companion program's files in the order the data-folder chunks give them.
enum DataFile {
  kPublisherFile,          // tdat7.bin
  kExtensionFile,          // xten7.dat
  kRemarkFile,             // remark7.dat
  kPreviousPublisherFile,  // Roll/Ov7_8/tdat7.bin
  kPreviousRemarkFile,     // Roll/Ov7_8/remark7.dat
  kDataFileCount,
};
std::filesystem::path DataFilePath(const std::filesystem::path& folder, int which);

// Takes the next kDataFileCount chunks of the input as the data folder's files.
void PutDataFolder(FuzzInput& input, const std::filesystem::path& folder);

// Allocates the tables and runs the load sequence with every password accepted.
void LoadCongregation(CongregationData& data);

// Whether the text is well-formed UTF-8 (what every text above the record layer must be).
bool IsUtf8(std::string_view text);

}  // namespace velunorh::fuzz
