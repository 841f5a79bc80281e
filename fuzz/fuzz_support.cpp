#include "fuzz_support.h"

#include <fstream>
#include <system_error>
#include <vector>

namespace velunorh::fuzz {
namespace {

std::filesystem::path MakeScratchFolder() {
  // In memory when the machine has it: the targets write their files on every run, and saving
  // a layout or settings file flushes it to disk.
  std::error_code ec;
  std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) base = "/tmp";
  if (!std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm", ec)) base = "/dev/shm";
  std::string pattern = (base / "velunorh-fuzz-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!::mkdtemp(name.data())) std::abort();
  return std::filesystem::path(name.data());
}

void RemoveScratchFolder() {
  std::error_code ec;
  std::filesystem::remove_all(ScratchFolder(), ec);
}

}  // namespace

const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = MakeScratchFolder();
  static const bool cleanup = [] { return std::atexit(RemoveScratchFolder) == 0; }();
  (void)cleanup;
  return folder;
}

void PutFile(const std::filesystem::path& file, std::optional<std::string_view> bytes) {
  std::error_code ec;
  if (!bytes) {
    std::filesystem::remove(file, ec);
    return;
  }
  std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
  if (!out) std::abort();  // the scratch folder must work, or the run proves nothing
}

std::filesystem::path DataFilePath(const std::filesystem::path& folder, int which) {
  const auto previous = folder / "Roll" / "Ov7_8";
  switch (which) {
    case kPublisherFile:
      return folder / "tdat7.bin";
    case kExtensionFile:
      return folder / "xten7.dat";
    case kRemarkFile:
      return folder / "remark7.dat";
    case kPreviousPublisherFile:
      return previous / "tdat7.bin";
    default:
      return previous / "remark7.dat";
  }
}

void PutDataFolder(FuzzInput& input, const std::filesystem::path& folder) {
  for (int which = 0; which < kDataFileCount; ++which) {
    PutFile(DataFilePath(folder, which), input.NextChunk());
  }
}

void LoadCongregation(CongregationData& data) {
  Check(data.AllocateTables());
  bool stop = false;
  data.LoadAllData(stop, [](const PublisherRecord&) { return true; });
  Check(!stop);
}

bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    std::uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (extra >= text.size() - i) return false;  // cut short
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace velunorh::fuzz
