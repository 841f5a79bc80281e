#include "companion/data_paths.h"

#include <system_error>

namespace velunorh {

namespace {
const std::filesystem::path kPreviousYearFolder = std::filesystem::path("Roll") / "Ov7_8";
}

std::filesystem::path DataPaths::PublisherFile() const {
  if (dataLocation != 0 && dataLocation != currentDrive) return floppyFolder / "tdat7.bin";
  return folder / "tdat7.bin";
}

std::filesystem::path DataPaths::PreviousYearFile() const {
  return folder / kPreviousYearFolder / "tdat7.bin";
}

std::filesystem::path DataPaths::ExtensionFile() const {
  return folder / "xten7.dat";
}

std::filesystem::path DataPaths::RemarkFile() const {
  return folder / "remark7.dat";
}

std::filesystem::path DataPaths::PreviousYearRemarkFile() const {
  return folder / kPreviousYearFolder / "remark7.dat";
}

int CurrentDriveNumber(const std::filesystem::path& folder,
                       const std::filesystem::path& floppyFolder) {
  std::error_code ec;
  auto here = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, ec), ec);
  auto floppy = std::filesystem::weakly_canonical(std::filesystem::absolute(floppyFolder, ec), ec);
  auto [floppyEnd, hereIt] = std::mismatch(floppy.begin(), floppy.end(), here.begin(), here.end());
  (void)hereIt;
  return floppyEnd == floppy.end() && !floppy.empty() ? 1 : 3;
}

}  // namespace velunorh
