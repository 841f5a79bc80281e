// make_seeds DEMO_DESCRIPTION.txt OUTPUT_FOLDER
// Writes the seed inputs of every fuzz target into OUTPUT_FOLDER/<target>/, made with the
// companion-format writer: valid data folders (scrambled and plain, with and without the
// previous year), the default layouts, typical settings files and typed positions.

#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "card/card_layout.h"
#include "fuzz_input.h"
#include "tools/companion_writer.h"
#include "tools/congregation_description.h"

namespace velunorh::fuzz {
namespace {

using Bytes = std::vector<std::uint8_t>;
using tools::Congregation;

class SeedFolder {
 public:
  SeedFolder(const std::filesystem::path& root, const std::string& target)
      : folder_(root / target) {
    std::filesystem::create_directories(folder_);
  }
  void Add(const Bytes& bytes) {
    const auto file = folder_ / ("seed_" + std::to_string(++count_));
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
  }
  void Add(const std::string& text) { Add(Bytes(text.begin(), text.end())); }

 private:
  std::filesystem::path folder_;
  int count_ = 0;
};

// A small congregation that touches every field: both packings, quarters, pioneers, remarks of
// both years, an extension record, a publisher without id and one not baptized.
Congregation SmallCongregation(bool scrambled) {
  using namespace tools;
  Congregation c;
  c.current.scrambled = scrambled;
  c.current.yearMarks.fill(26);

  Publisher elder;
  elder.givenName = "Árpád";
  elder.familyName = "Kovács";
  elder.homeAddress = "1111 Budapest, Fő utca 12.";
  elder.homeTelephone = "1-234-5678";
  elder.mobileTelephone = "30-123-4567";
  elder.dateOfBirth = "03151970";
  elder.dateImmersed = "06201990";
  elder.id = 101;
  elder.extensionIndex = 1;
  elder.appointment = Appointment::kElder;
  elder.sex = Sex::kMale;
  elder.anointed = true;
  for (int m = 0; m < 12; ++m) {
    MonthReport& r = elder.months[m];
    r.newForm = m != 11;
    r.hours = 10 + m;
    r.quarters = m % 4;
    r.returnVisits = 300 + m;
    r.bibleStudies = m;
    r.pioneer = m == 9 ? Pioneer::kAuxiliary : Pioneer::kRegular;
    if (r.newForm) {
      r.placements = 1000 + m;
      r.videoShowings = 2000 + m;
    } else {
      r.books = 3;
      r.brochures = 1234;
      r.subscriptions = 5;
      r.magazines = 2345;
    }
  }

  Publisher sister;
  sister.givenName = "Éva";
  sister.familyName = "Nagy";
  sister.dateOfBirth = "12011985";
  sister.id = 102;
  sister.sex = Sex::kFemale;
  sister.appointment = Appointment::kMinisterialServant;
  sister.months[8] = MonthReport{.hours = 5, .quarters = 3, .books = 1, .magazines = 12};
  sister.remarkSlot[4] = 7;  // a number the remark file does not back

  Publisher nobody;
  nobody.givenName = "Nincs";
  nobody.familyName = "Azonosító";
  nobody.dateImmersed = "  0101  ";

  c.current.publishers = {elder, sister, nobody};
  c.extensions = {{1, 101, "Dr. Kovács Árpád Béla", "Ügyvéd", "Harmadik szöveg"}};
  c.remarks = {{10, 101, "Kisegítő úttörő szabadság"}, {9, 102, "Beteg"}, {9, 5, "ignored"}};

  PublisherFile previous;
  previous.scrambled = scrambled;
  previous.yearMarks.fill(25);
  Publisher before = elder;
  before.months = {};
  for (int m = 0; m < 12; ++m) before.months[m] = MonthReport{.hours = 20, .returnVisits = 7};
  Publisher sisterBefore = sister;
  sisterBefore.familyName = "Kiss";  // matched by the given name
  previous.publishers = {sisterBefore, before};
  c.previous = previous;
  c.previousRemarks = {{3, 101, "Tavalyi megjegyzés"}};
  return c;
}

struct DataFiles {
  std::optional<Bytes> current, extensions, remarks, previous, previousRemarks;
};

DataFiles FilesOf(const Congregation& c) {
  DataFiles files;
  files.current = tools::PublisherFileBytes(c.current);
  if (!c.extensions.empty()) files.extensions = tools::ExtensionFileBytes(c.extensions);
  if (!c.remarks.empty()) files.remarks = tools::RemarkFileBytes(c.remarks);
  if (c.previous) files.previous = tools::PublisherFileBytes(*c.previous);
  if (!c.previousRemarks.empty()) files.previousRemarks = tools::RemarkFileBytes(c.previousRemarks);
  return files;
}

void AddDataFolder(FuzzInputWriter& w, const DataFiles& f) {
  w.Chunk(f.current);
  w.Chunk(f.extensions);
  w.Chunk(f.remarks);
  w.Chunk(f.previous);
  w.Chunk(f.previousRemarks);
}

Bytes LayoutBytes(int version) {
  CardLayout layout;
  MakeDefaultLayout(layout, version);
  return Bytes(layout.bytes.begin(), layout.bytes.end());
}

// reportMonth 10 and 2026: December 2026, the date the demo congregation stands at.
void PublisherSeeds(SeedFolder& seeds, const std::vector<DataFiles>& folders) {
  for (const auto& f : folders) {
    for (std::uint8_t reportMonth : {10, 2}) {
      FuzzInputWriter w({reportMonth, 26, 0, 7});
      w.Chunk(f.current);
      w.Chunk(f.previous);
      seeds.Add(w.bytes());
    }
  }
  FuzzInputWriter empty({0, 0, 0, 0});
  empty.Chunk(Bytes{});
  seeds.Add(empty.bytes());
}

void ExtensionRemarkSeeds(SeedFolder& seeds, const std::vector<DataFiles>& folders) {
  for (const auto& f : folders) {
    FuzzInputWriter w({101, 0, 102, 0});
    AddDataFolder(w, f);
    seeds.Add(w.bytes());
  }
}

void LayoutSeeds(SeedFolder& seeds) {
  for (std::uint8_t version = 0; version < 5; ++version) {
    FuzzInputWriter w({version, 0x58, 0x02, 0, 0, 0});  // 600 units per inch
    w.Chunk(LayoutBytes(version));
    w.Chunk("1.25");
    seeds.Add(w.bytes());
  }
  FuzzInputWriter shortFile({0, 0x2C, 0x01, 8, 0, 0});  // 300 units per inch
  Bytes bytes = LayoutBytes(1);
  bytes.resize(399);
  shortFile.Chunk(bytes);
  shortFile.Chunk("12345678");
  seeds.Add(shortFile.bytes());
}

void SettingsSeeds(SeedFolder& seeds) {
  const std::vector<std::string> files = {
      "[Format]\nAlt Date Format=2\nLast Name First=1\nCard Version=1\n\n[Margins]\nTop=0.10\n"
      "Left=0.25\n\n[Data Location]\nDrive=1\n",
      "\xEF\xBB\xBF; written by hand\r\n[format]\r\ncard version = 257\r\n[FN "
      "Sort]\r\nEnabled=0\r\n"
      "[Margins]\r\nTop=\" 0.30 \"\r\n",
      "garbage line\nkey before any section=1\n[Margins]\nLeft=0.50\n[Margins]\nLeft=0.90\n"
      "[Format\nAlt Date Format=-1",
      "",
  };
  for (const auto& file : files) {
    FuzzInputWriter w({2, 0, 1, 0, 1, 0, 5, 0, 0, 0, 0, 0});
    w.Chunk(file);
    w.Chunk("0.30");
    w.Chunk("0.25");
    w.Chunk("Margins");
    w.Chunk("Left");
    w.Chunk("1.00");
    seeds.Add(w.bytes());
  }
  FuzzInputWriter noFile({1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  noFile.Chunk(std::nullopt);
  noFile.Chunk("0.00");
  noFile.Chunk("0.20");
  seeds.Add(noFile.bytes());
}

void NormalizeSeeds(SeedFolder& seeds) {
  for (const char* text : {"1.25", ".5", "125", "1234", "1.234", " 2 ", "", "12", "1.", "7", "10.5",
                           "1.2.3", "a.25", "-1", "1,5", "9.99"}) {
    seeds.Add(std::string(text));
  }
}

void NameDateSeeds(SeedFolder& seeds, const Congregation& c) {
  for (bool scrambled : {false, true}) {
    for (const auto& publisher : c.current.publishers) {
      const PublisherRecord record = tools::EncodePublisherRecord(publisher, scrambled);
      for (std::uint8_t format : {0, 1, 2, 3}) {
        FuzzInputWriter w({format, static_cast<std::uint8_t>(scrambled ? 1 : 0)});
        w.Chunk(Bytes(record.bytes.begin(), record.bytes.end()));
        w.Chunk(" \t trimmed \r\n");
        seeds.Add(w.bytes());
      }
    }
  }
}

void CardPassSeeds(SeedFolder& seeds, const std::vector<DataFiles>& folders) {
  for (const auto& f : folders) {
    for (std::uint8_t slot : {3, 4}) {  // slots 1 and 2
      for (std::uint8_t flags : {0x2E, 0x77, 0xD5}) {
        const std::uint8_t version = flags & 4 ? 0 : 1;  // the new form is version 0
        // slot, month, year, flags, rows, date format, edition, charset, 600 × 600 dpi,
        // a 480 × 130 pane at (3, 4), borders, card version, the slot's high bit.
        FuzzInputWriter w({slot, 10, 26, flags, 0xFF, 0x0F, 2, 0, 0, 0x58,    0x02, 0x58,
                           0x02, 3,  4,  0xE0,  0x01, 0x82, 0, 1, 1, version, 0,    0});
        AddDataFolder(w, f);
        w.Chunk(LayoutBytes(version));
        w.Chunk("0.20");
        w.Chunk("0.10");
        seeds.Add(w.bytes());
      }
    }
  }
}

void LedgerSeeds(SeedFolder& seeds) {
  const std::vector<std::string> files = {
      "; Velunorh: what went onto each publisher's card\n\n[2026 id:11]\nName=Kovács Anna\n"
      "Header=2026-11-10 0f1e2d3c4b5a6978\nMonth09=2026-11-10 89abcdef01234567\n"
      "Total=2027-09-05 0123456789abcdef\n\n[0999 nm:00112233445566ff]\nName=\n"
      "Month08=2026-11-10 0123456789abcdef\n",
      "\xEF\xBB\xBF[2026 id:11]\r\nName=\" Béla \"\r\nMonth13=2026-11-10 0123456789abcdef\r\n"
      "[2026 ID:11]\r\nHeader=2026-11-10 0123456789abcdef\r\nHeader=2026-11-11 "
      "0123456789abcdef\r\n",
      "not a ledger\n[26 id:11]\nMonth09=yesterday\n",
      // Each line with what it was printed from, one before its line, one without a line.
      "[2026 id:11]\nHeader=2026-11-10 0f1e2d3c4b5a6978\n"
      "HeaderData=\" Kovács\"|Anna||female|Fő utca 1.||06\\|30|03/02/1970||||más juh|\n"
      "Month10Data=- \\s - 24.75 \\/ / - 1 24.75 3 1 / Kisegítő úttörő\n"
      "Month10=2026-11-10 89abcdef01234567\nMonth11Data=/ /\n"
      "Total=2027-09-05 0123456789abcdef\nTotalData=1 2 / 3 -4 /\n",
      "",
      // Then another writer's text, after a NUL: a newer version's key and section, and damage.
      std::string("[2026 id:11]\nMonth09=2026-11-10 89abcdef01234567\n[2026 id:12]\n") + '\0' +
          "; newer\n[2026 id:11]\nRemark09=x\nHeader=2026-11-11 0f1e2d3c4b5a6978\n"
          "[2026 restart id:12]\nOn=2026-11-10\n[2026 id:13]\nMonth09=soon\n[2026 id:13]\n",
  };
  for (const auto& file : files) seeds.Add(file);
}

void PendingJobSeeds(SeedFolder& seeds) {
  const std::vector<std::string> files = {
      "; Velunorh: print jobs\n[Job 1]\nComputer=iroda\nPrinter=CARD\nId=12\n\n[Job 1 Card 1]\n"
      "Card=2026 id:11\nName=Kovács Anna\nHeader=2026-11-10 0f1e2d3c4b5a6978 2026-10-01 "
      "0123456789abcdef\nMonth10=2026-11-10 89abcdef01234567\n[Job 1 Card 2]\nCard=2026 "
      "nm:00112233445566ff\nTotal=2027-09-05 0123456789abcdef\n",
      "[Job 2]\r\nPrinter=\" Kártya \"\r\nId=7\r\n[Job 2 Card 1]\r\nCard=2026 id:5\r\n"
      "Month13=2026-11-10 0123456789abcdef\r\n[Job 3 Card 1]\nCard=26 x\n[Other]\nId=x\n",
      "",
  };
  for (const auto& file : files) seeds.Add(file);
}

}  // namespace
}  // namespace velunorh::fuzz

int main(int argc, char** argv) {
  using namespace velunorh::fuzz;
  if (argc != 3) {
    std::cerr << "usage: make_seeds DEMO_DESCRIPTION.txt OUTPUT_FOLDER\n";
    return 2;
  }
  try {
    const std::filesystem::path out = argv[2];
    const Congregation scrambled = SmallCongregation(true);
    const std::vector<DataFiles> folders = {
        FilesOf(scrambled), FilesOf(SmallCongregation(false)),
        FilesOf(velunorh::tools::ReadCongregationFile(argv[1]))};

    // The data-file targets read every slot and month of their input: small seeds keep them
    // fast. The card passes, which read one publisher, get the demo congregation too.
    const std::vector<DataFiles> small = {folders[0], folders[1]};
    SeedFolder publisher(out, "publisher_file");
    PublisherSeeds(publisher, small);
    SeedFolder extension(out, "extension_remark");
    ExtensionRemarkSeeds(extension, small);
    SeedFolder layout(out, "layout_file");
    LayoutSeeds(layout);
    SeedFolder settings(out, "settings_file");
    SettingsSeeds(settings);
    SeedFolder normalize(out, "normalize_layout_value");
    NormalizeSeeds(normalize);
    SeedFolder nameDate(out, "name_date");
    NameDateSeeds(nameDate, scrambled);
    SeedFolder cardPasses(out, "card_passes");
    CardPassSeeds(cardPasses, folders);
    SeedFolder ledger(out, "ledger");
    LedgerSeeds(ledger);
    SeedFolder pendingJobs(out, "pending_jobs");
    PendingJobSeeds(pendingJobs);
  } catch (const std::exception& e) {
    std::cerr << "make_seeds: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
