// The card's content built from a fuzzed data folder, and the drawing passes over it with a
// fuzzed layout: the printed header block and monthly grid, and the header and monthly previews,
// each onto a recording surface.
//
// Input: 24 option bytes (selection, year, switches, month rows, date format, edition, device
// resolutions, preview size and borders, card version, the slot's high bit), then chunks: the data
// folder's five files, the 400-byte layout (cut or padded with zeros), and the left and top
// margins.

#include <cstdint>
#include <cstring>
#include <string>

#include "card/card_content.h"
#include "card/header_block_pass.h"
#include "card/header_preview_pass.h"
#include "card/monthly_grid_pass.h"
#include "card/monthly_preview_pass.h"
#include "card/recording_surface.h"
#include "fuzz_support.h"

namespace velunorh::fuzz {
namespace {

constexpr const char* kLanguages[] = {"hun", "cz", "sk", "polish", "greek", "rus", "eng"};
constexpr int kCharsets[] = {0, 238, 162, 161, 204, 186};

// Every drawn text is UTF-8, as the painter surface hands it on.
void CheckDrawn(const RecordingSurface& surface) {
  for (const auto& text : surface.texts) Check(IsUtf8(text.text));
}

struct Options {
  int slot;
  ServiceYear year;
  bool printTotal, newForm, printHeader, printGenderMarks, useFullName, lastNameFirst;
  int nameShift;
  std::array<bool, 12> monthRow;
  int dateFormat;
  std::string languageCode;
  int fontCharset;
  int hres, vres;  // a device has 1 to 4800 dots per inch
  Rect client;     // a preview pane of up to 4095 × 4095
  int bx, by;
  int cardVersion;

  explicit Options(const FuzzInput& in) {
    slot = in.Option(0) + 256 * (in.Option(22) & 1) - 2;  // -2 .. 509: past every table
    year.reportMonth = in.Option(1) % 12;
    year.currentYear = 2000 + in.Option(2);
    const std::uint8_t flags = in.Option(3);
    year.previousServiceYear = flags & 1;
    printTotal = flags & 2;
    newForm = flags & 4;
    printHeader = flags & 8;
    printGenderMarks = flags & 16;
    useFullName = flags & 32;
    lastNameFirst = flags & 64;
    nameShift = flags >> 7;
    const std::uint16_t rows = in.Option16(4);
    for (int row = 0; row < 12; ++row) monthRow[row] = (rows >> row) & 1;
    dateFormat = static_cast<std::int8_t>(in.Option(6));
    languageCode = kLanguages[in.Option(7) % std::size(kLanguages)];
    fontCharset = kCharsets[in.Option(8) % std::size(kCharsets)];
    hres = 1 + in.Option16(9) % 4800;
    vres = 1 + in.Option16(11) % 4800;
    const int left = in.Option(13);
    const int top = in.Option(14);
    client = {left, top, left + in.Option16(15) % 4096, top + in.Option16(17) % 4096};
    bx = in.Option(19) % 16;
    by = in.Option(20) % 16;
    cardVersion = in.Option(21) % 5;
  }
};

}  // namespace
}  // namespace velunorh::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace velunorh;
  using namespace velunorh::fuzz;
  FuzzInput input(bytes, size, 24);
  const Options o(input);
  const auto& folder = ScratchFolder();
  PutDataFolder(input, folder);
  CardLayout layout;
  const auto layoutBytes = input.NextChunk().value_or("");
  std::memcpy(layout.bytes.data(), layoutBytes.data(),
              std::min(layoutBytes.size(), CardLayout::kSize));
  const std::string leftMargin(input.NextChunk().value_or("0.20"));
  const std::string topMargin(input.NextChunk().value_or("0.00"));

  CongregationData data{DataPaths{folder}};
  LoadCongregation(data);

  CardChoice choice;
  choice.slot = o.slot;
  choice.year = o.year;
  choice.useFullName = o.useFullName;
  choice.lastNameFirst = o.lastNameFirst;
  choice.dateFormat = o.dateFormat;
  choice.languageCode = o.languageCode;
  choice.newForm = o.newForm;
  const CardContent card = BuildCardContent(data, choice);
  Check(IsUtf8(card.displayName) && IsUtf8(card.mobileTelephone));

  HeaderPreviewInput headerPreviewInput;
  headerPreviewInput.languageCode = o.languageCode;
  headerPreviewInput.fontCharset = o.fontCharset;
  headerPreviewInput.nameShift = o.nameShift;  // an edition may shift the name; fuzz both
  headerPreviewInput.cardVersion = o.cardVersion;
  headerPreviewInput.printHeader = o.printHeader;
  headerPreviewInput.printGenderMarks = o.printGenderMarks;
  RecordingSurface headerPreview(96, 96);
  DrawHeaderPreview(headerPreview, o.client, card, headerPreviewInput);
  CheckDrawn(headerPreview);

  MonthlyPreviewInput monthlyPreviewInput;
  monthlyPreviewInput.monthRow = o.monthRow;
  monthlyPreviewInput.printTotal = o.printTotal;
  monthlyPreviewInput.languageCode = o.languageCode;
  RecordingSurface monthlyPreview(96, 96);
  DrawMonthlyPreview(monthlyPreview, o.client, card, monthlyPreviewInput, o.bx, o.by);
  CheckDrawn(monthlyPreview);

  HeaderBlockInput headerBlockInput;
  headerBlockInput.printHeader = o.printHeader;
  headerBlockInput.printGenderMarks = o.printGenderMarks;
  headerBlockInput.leftMargin = leftMargin;
  headerBlockInput.topMargin = topMargin;
  headerBlockInput.layout = layout;
  MonthlyGridInput monthlyGridInput;
  monthlyGridInput.monthRow = o.monthRow;
  monthlyGridInput.printTotal = o.printTotal;
  monthlyGridInput.fontCharset = o.fontCharset;
  monthlyGridInput.leftMargin = leftMargin;
  monthlyGridInput.topMargin = topMargin;
  monthlyGridInput.layout = layout;
  RecordingSurface page(o.hres, o.vres);
  PrintHeaderBlock(page, card, headerBlockInput);
  PrintMonthlyGrid(page, card, monthlyGridInput);
  CheckDrawn(page);
  return 0;
}
