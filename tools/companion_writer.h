#pragma once

// Writes the files of the companion records program: the publisher file "tdat7.bin" (plain or
// scrambled, with its header record), the extension file "xten7.dat" and the remark file
// "remark7.dat", for the running and the previous service year. It stands in for that program
// in tests and for the demo congregation.
//
// Texts are given in UTF-8 and stored in the edition's code page. Anything the formats cannot
// hold so that it reads back the same (a value too large for its packing, a text too long for
// its field or one whose scrambled form the reader would decode differently) is refused with a
// WriterError that names the field and the publisher; a file is never written half-right.
//
// For odd or broken files, tests take the bytes from the *Bytes functions, change them and
// write them with WriteBytesFile.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "companion/extension_record.h"
#include "companion/publisher_record.h"
#include "tools/field_encoding.h"

namespace velunorh::tools {

// The writer stores the same codes the program reads.
using velunorh::Appointment;
using velunorh::Pioneer;
enum class Sex : std::uint8_t { kUnknown, kMale, kFemale };

// One month of a publisher. `newForm` chooses the packing; the values that the other packing
// has no place for must stay 0.
struct MonthReport {
  bool newForm = false;
  // Both packings.
  int hours = 0;         // whole hours, 0-255
  int returnVisits = 0;  // 0-1023
  int bibleStudies = 0;  // 0-63
  int quarters = 0;      // quarter hours to add to `hours`, 0-3
  Pioneer pioneer = Pioneer::kNone;
  // Old form only.
  int books = 0;          // 0-255
  int brochures = 0;      // 0-4095
  int subscriptions = 0;  // 0-63
  int magazines = 0;      // 0-4095
  // New form only.
  int placements = 0;     // 0-4095
  int videoShowings = 0;  // 0-4095
};

struct Publisher {
  std::string givenName;        // up to 20 characters
  std::string familyName;       // up to 20
  std::string homeAddress;      // up to 62
  std::string homeTelephone;    // up to 14
  std::string mobileTelephone;  // up to 14
  std::string spareText;        // up to 14
  std::string dateImmersed;     // MMDDYYYY, or empty when not baptized
  std::string dateOfBirth;      // MMDDYYYY
  bool anointed = false;
  std::uint16_t id = 0;
  std::uint16_t extensionIndex = 0;
  Appointment appointment = Appointment::kNone;
  Sex sex = Sex::kUnknown;
  std::uint16_t previousYearLink = 0;         // stored as given
  std::array<MonthReport, 12> months{};       // 0 = January ... 11 = December
  std::array<std::uint8_t, 12> remarkSlot{};  // stored as given
};

// One publisher file: the header record and the publishers in file order.
struct PublisherFile {
  std::string password = " ";  // one blank = no password; up to 20 characters
  bool scrambled = true;
  std::array<std::uint8_t, 12> yearMarks{};  // two-digit years (25 = 2025), stored as given
  std::vector<Publisher> publishers;
};

// One record of the extension file, at record number `index` (1 or more; record 0 is unused).
struct ExtensionEntry {
  std::uint16_t index = 0;
  std::uint16_t id = 0;  // extensionId: the publisher's id
  std::string fullName;  // up to 64 characters
  std::string text2;     // up to 50
  std::string text3;     // up to 71
};

// One record of a remark file.
struct Remark {
  std::uint8_t month = 1;  // calendar month 1-12 as stored; other values are written as given
  std::uint16_t publisherId = 0;
  std::string text;  // up to 35 characters
};

// A whole data folder: the running year's files and, optionally, the previous year's.
struct Congregation {
  PublisherFile current;
  std::vector<ExtensionEntry> extensions;  // xten7.dat, written when not empty
  std::vector<Remark> remarks;             // remark7.dat, written when not empty
  std::optional<PublisherFile> previous;   // Roll/Ov7_8/tdat7.bin
  std::vector<Remark> previousRemarks;     // Roll/Ov7_8/remark7.dat, written when not empty
};

// The encoded records and files.
PublisherRecord EncodeHeaderRecord(const PublisherFile& file);
PublisherRecord EncodePublisherRecord(const Publisher& publisher, bool scrambled);
std::vector<std::uint8_t> PublisherFileBytes(const PublisherFile& file);
ExtensionRecord EncodeExtensionRecord(const ExtensionEntry& entry);
// Records 0 to the highest index; records without an entry are all zeros.
std::vector<std::uint8_t> ExtensionFileBytes(const std::vector<ExtensionEntry>& entries);
std::vector<std::uint8_t> RemarkFileBytes(const std::vector<Remark>& remarks);

// Writes `bytes` to `file`, creating its folders. Throws WriterError on failure.
void WriteBytesFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);

// Writes every file of `congregation` into `folder` (created when missing). Files of the
// companion program that the congregation has none of are removed, so the folder shows
// exactly what was described. Everything is encoded before the first file is written.
void WriteCongregation(const Congregation& congregation, const std::filesystem::path& folder);

}  // namespace velunorh::tools
