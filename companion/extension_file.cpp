#include <algorithm>
#include <cctype>
#include <string>

#include "base/platform.h"
#include "companion/congregation_data.h"

namespace velunorh {

namespace {

// Records past this number are never used.
constexpr int kMaxExtensionCount = 601;

// Letters as the C runtime classifies them in the locale in force, each byte unsigned.
bool HoldsLetter(const std::string& raw) {
  for (char c : raw) {
    if (std::isalpha(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

}  // namespace

void CongregationData::CountExtensions() {
  extensionCount_ = 0;
  InputFile in(paths_.ExtensionFile());
  if (!in.isOpen()) return;
  // The companion program counts its reads, the last one meeting the end of the file; one less
  // is the number of whole records, and a trailing partial record does not count.
  // Its size tells as much, without reading the records.
  const FileIdentity file = in.Identity();
  if (file.exists) {
    extensionCount_ = static_cast<int>(
        std::min<std::uint64_t>(file.size / ExtensionRecord::kSize, kMaxExtensionCount));
    return;
  }
  char record[ExtensionRecord::kSize];
  while (extensionCount_ < kMaxExtensionCount && in.Read(record, sizeof record) == sizeof record) {
    ++extensionCount_;
  }
}

int CongregationData::LoadExtension(int slot) {
  // A publisher without a usable record must not show the one looked up before.
  extensionBuffer_ = ExtensionRecord{};
  if (slot < 1 || !current.IsLoaded(slot)) return 0;
  PublisherRecord& publisher = current[slot];
  const std::uint16_t index = publisher.extensionIndex();
  if (index == 0) return 0;

  if (!ReadExtensionRecord(index, publisher.publisherId())) {
    // Remembered for the run, so later lookups do not read the file again.
    publisher.SetWord(PublisherRecord::kExtensionIndex, 0);
    return 0;
  }
  int letters = 0;
  if (HoldsLetter(extensionBuffer_.RawText(ExtensionRecord::kFullName))) letters |= 1;
  if (HoldsLetter(extensionBuffer_.RawText(ExtensionRecord::kExtensionText2))) letters |= 2;
  return letters;
}

bool CongregationData::ReadExtensionRecord(std::uint16_t index, std::uint16_t publisherId) {
  if (index == 0 || index >= extensionCount_) return false;
  InputFile in(paths_.ExtensionFile());
  if (!in.isOpen()) return false;
  ExtensionRecord record;
  if (!in.Seek(std::uint64_t{index} * ExtensionRecord::kSize)) return false;
  if (in.Read(record.bytes.data(), record.bytes.size()) < record.bytes.size()) return false;
  if (record.extensionId() != publisherId) return false;
  record.Unscramble();
  extensionBuffer_ = record;
  return true;
}

}  // namespace velunorh
