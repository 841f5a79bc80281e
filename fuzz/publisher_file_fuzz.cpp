// The publisher files of the running and the previous service year: loading, decoding, linking
// and every month value of every slot, month and kind.
//
// Input: 4 option bytes (report month, current year as an offset from 2000, a second report
// month), then two chunks: tdat7.bin and Roll/Ov7_8/tdat7.bin.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "companion/month_values.h"
#include "fuzz_support.h"

namespace velunorh::fuzz {
namespace {

using R = PublisherRecord;

constexpr int kMaxRecords = PublisherTable::kSlots - 1;

// The largest value a kind's bits hold on each form; 0 where the form does not record the kind.
// The new form's placements of an old-form month are the sum of books, brochures and magazines.
struct KindLimits {
  ValueKind kind;
  std::uint16_t oldForm;
  std::uint16_t newForm;
};
constexpr KindLimits kKindLimits[] = {
    {ValueKind::Books, 255, 0},
    {ValueKind::Brochures, 4095, 0},
    {ValueKind::Subscriptions, 63, 0},
    {ValueKind::Magazines, 4095, 0},
    {ValueKind::Placements, 0, 255 + 4095 + 4095},
    {ValueKind::VideoShowings, 0, 4095},
    {ValueKind::Hours, 255, 255},
    {ValueKind::ReturnVisits, 1023, 1023},
    {ValueKind::BibleStudies, 63, 63},
    {ValueKind::HourQuarters, 255, 0},
    // Numbers that name no kind.
    {static_cast<ValueKind>(-1), 0, 0},
    {static_cast<ValueKind>(10), 0, 0},
};

int WholeRecords(std::optional<std::string_view> file) {
  return file ? static_cast<int>(std::min<std::size_t>(file->size() / R::kSize, kMaxRecords)) : 0;
}

// A plain file is taken byte for byte; the link is the one field the load may rewrite.
void CheckPlainRecords(const PublisherTable& table, std::string_view file, bool linked) {
  if (table.count == 0 || file.size() < R::kSize || file[R::kPlainTextMarker] != 'A') return;
  for (int slot = 0; slot < table.count; ++slot) {
    std::array<std::uint8_t, R::kSize> expected;
    std::memcpy(expected.data(), file.data() + slot * R::kSize, R::kSize);
    if (linked && slot > 0) {
      expected[R::kPreviousYearLink] = table[slot].bytes[R::kPreviousYearLink];
      expected[R::kPreviousYearLink + 1] = table[slot].bytes[R::kPreviousYearLink + 1];
    }
    Check(table[slot].bytes == expected);
  }
}

void CheckLinks(const CongregationData& data, bool linked) {
  if (!linked) return;
  for (int slot = 1; slot < data.current.count; ++slot) {
    const int link = data.current[slot].previousYearLink();
    Check(link == 0 || (link >= 1 && link < data.previous.count));
    if (link != 0) {
      Check(data.current[slot].publisherId() != 0);
      Check(data.previous[link].publisherId() == data.current[slot].publisherId());
    }
  }
}

void CheckMonthValues(const CongregationData& data, const ServiceYear& year) {
  for (int slot = -1; slot <= data.current.count; ++slot) {
    const bool publisher = slot >= 1 && slot < data.current.count;
    for (int month = -1; month <= 12; ++month) {
      const bool inYear = month >= 0 && month < 12;
      (void)PreviousYearMonthUsable(data, year, month);
      for (const KindLimits& k : kKindLimits) {
        const std::uint16_t old = OldFormValue(data, year, slot, month, k.kind);
        const std::uint16_t card = CardValue(data, year, slot, month, k.kind);
        if (!publisher || !inYear) Check(old == 0 && card == 0);
        Check(old <= k.oldForm);
        Check(card <= k.newForm);
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
  const auto currentFile = input.NextChunk();
  const auto previousFile = input.NextChunk();
  PutFile(DataFilePath(folder, kPublisherFile), currentFile);
  PutFile(DataFilePath(folder, kPreviousPublisherFile), previousFile);
  for (int which : {kExtensionFile, kRemarkFile, kPreviousRemarkFile}) {
    PutFile(DataFilePath(folder, which), std::nullopt);
  }

  CongregationData data{DataPaths{folder}};
  LoadCongregation(data);

  const int records = WholeRecords(currentFile);
  Check(data.current.count == std::max(records, 1));
  const bool previousLoaded = previousFile && previousFile->size() > 500;
  Check(data.previous.count == (previousLoaded ? WholeRecords(previousFile) : 0));
  const bool linked = data.previous.count >= 1;
  if (records == 0) {
    Check(data.current[0].IsPlainText() && data.current[0].accessPassword() == " ");
  } else {
    CheckPlainRecords(data.current, *currentFile, linked);
  }
  if (previousLoaded) CheckPlainRecords(data.previous, *previousFile, false);
  CheckLinks(data, linked);

  // Linking again finds the same links.
  std::vector<std::uint16_t> links;
  for (int slot = 1; slot < data.current.count; ++slot) {
    links.push_back(data.current[slot].previousYearLink());
  }
  if (linked) data.LinkPreviousYear();
  for (int slot = 1; slot < data.current.count; ++slot) {
    Check(data.current[slot].previousYearLink() == links[slot - 1]);
  }

  for (int reportMonth : {input.Option(0) % 12, input.Option(3) % 12}) {
    for (bool previousServiceYear : {false, true}) {
      ServiceYear year;
      year.reportMonth = reportMonth;
      year.currentYear = 2000 + input.Option16(1) % 256;
      year.previousServiceYear = previousServiceYear;
      CheckMonthValues(data, year);
    }
  }
  return 0;
}
