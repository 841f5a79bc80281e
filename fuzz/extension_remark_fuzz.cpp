// The extension and remark files: the extension count, LoadExtension of every slot and
// GetRemark of every slot and month, from the running and the previous service year.
//
// Input: 4 option bytes (two publisher ids to look up), then the data folder's five chunks
// (tdat7.bin, xten7.dat, remark7.dat, Roll/Ov7_8/tdat7.bin, Roll/Ov7_8/remark7.dat).

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/codepage.h"
#include "fuzz_support.h"

namespace velunorh::fuzz {
namespace {

using E = ExtensionRecord;

// A decoded text never runs past its field; in UTF-8 one code-page byte takes at most 3 bytes.
void CheckText(const std::string& raw, std::size_t width) {
  Check(raw.size() < width);
  Check(IsUtf8(CodePageToUtf8(raw)));
}

void CheckRemarkTables(const CongregationData& data) {
  for (int month = -1; month <= 12; ++month) {
    for (const RemarkTable* table : {&data.currentRemarks(month), &data.previousRemarks(month)}) {
      Check(table->count >= 1 && table->count <= RemarkTable::kSlots);
      Check(table->count == int(table->slots.size()));
      Check(table->slots[0].bytes == RemarkRecord{}.bytes);
    }
  }
}

void CheckExtension(CongregationData& data, int slot) {
  const int letters = data.LoadExtension(slot);
  Check(letters >= 0 && letters <= 3);
  const ExtensionRecord& buffer = data.extensionBuffer();
  if (letters == 0 && (slot < 1 || slot >= data.current.count)) {
    Check(buffer.bytes == ExtensionRecord{}.bytes);
  }
  CheckText(buffer.RawText(E::kFullName), E::kFullName.width);
  CheckText(buffer.RawText(E::kExtensionText2), E::kExtensionText2.width);
  CheckText(buffer.RawText(E::kExtensionText3), E::kExtensionText3.width);
  if (letters != 0) {
    Check(buffer.extensionId() == data.current[slot].publisherId());
    const int index = data.current[slot].extensionIndex();
    Check(index >= 1 && index < data.ExtensionCount());
  }
  // A second lookup gives the same answer (a failed one is remembered as no record).
  Check(data.LoadExtension(slot) == letters);
}

void CheckRemarks(CongregationData& data, int slot) {
  for (int month = -1; month <= 12; ++month) {
    for (bool fromPreviousYear : {false, true}) {
      std::string text = "untouched";
      const bool found = data.GetRemark(slot, month, fromPreviousYear, text);
      if (found) {
        Check(!text.empty() && IsUtf8(text));
        Check(text.size() <= 3 * (RemarkRecord::kTextWidth - 1));
      }
      if (slot < 1 || slot >= data.current.count || month < 0 || month > 11) {
        Check(!found && text == "untouched");
      }
    }
  }
}

}  // namespace
}  // namespace velunorh::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace velunorh;
  using namespace velunorh::fuzz;
  FuzzInput input(bytes, size, 4);
  const auto& folder = ScratchFolder();
  PutDataFolder(input, folder);

  CongregationData data{DataPaths{folder}};
  LoadCongregation(data);
  Check(data.ExtensionCount() >= 0 && data.ExtensionCount() <= 601);
  CheckRemarkTables(data);

  for (std::uint16_t id : {input.Option16(0), input.Option16(2)}) {
    const int slot = data.FindPublisherById(id);
    Check(slot == 0 || (slot >= 1 && slot < data.current.count && id >= 10 &&
                        data.current[slot].publisherId() == id));
  }
  for (int slot = -1; slot <= data.current.count; ++slot) {
    CheckExtension(data, slot);
    CheckRemarks(data, slot);
  }
  CheckRemarkTables(data);
  return 0;
}
