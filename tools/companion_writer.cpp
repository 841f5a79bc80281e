#include "tools/companion_writer.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <system_error>

#include "companion/remark_table.h"
#include "tools/field_encoding.h"

namespace velunorh::tools {
namespace {

using R = PublisherRecord;
using E = ExtensionRecord;

constexpr TextField kGivenName{R::kGivenName.offset, R::kGivenName.width, Exempt204::kEverywhere,
                               "givenName"};
constexpr TextField kFamilyName{R::kFamilyName.offset, R::kFamilyName.width, Exempt204::kEverywhere,
                                "familyName"};
constexpr TextField kHomeAddress{R::kHomeAddress.offset, R::kHomeAddress.width, Exempt204::kFirst30,
                                 "homeAddress"};
constexpr TextField kHomeTelephone{R::kHomeTelephone.offset, R::kHomeTelephone.width,
                                   Exempt204::kNowhere, "homeTelephone"};
constexpr TextField kMobileTelephone{R::kMobileTelephone.offset, R::kMobileTelephone.width,
                                     Exempt204::kNowhere, "mobileTelephone"};
constexpr TextField kSpareText{R::kSpareText.offset, R::kSpareText.width, Exempt204::kNowhere,
                               "spareText"};
constexpr TextField kDateImmersed{R::kDateImmersed.offset, R::kDateImmersed.width,
                                  Exempt204::kNowhere, "dateImmersed"};
constexpr TextField kDateOfBirth{R::kDateOfBirth.offset, R::kDateOfBirth.width, Exempt204::kNowhere,
                                 "dateOfBirth"};
constexpr TextField kAccessPassword{R::kAccessPassword.offset, R::kAccessPassword.width,
                                    Exempt204::kEverywhere, "accessPassword"};
constexpr TextField kFullName{E::kFullName.offset, E::kFullName.width, Exempt204::kNowhere,
                              "fullName"};
constexpr TextField kExtensionText2{E::kExtensionText2.offset, E::kExtensionText2.width,
                                    Exempt204::kNowhere, "extensionText2"};
constexpr TextField kExtensionText3{E::kExtensionText3.offset, E::kExtensionText3.width,
                                    Exempt204::kNowhere, "extensionText3"};

constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

std::string Describe(const Publisher& p) {
  return "publisher \"" + p.givenName + " " + p.familyName + "\" (id " + std::to_string(p.id) + ")";
}

// Checks that a month value fits the bits its packing has for it.
void Check(int value, int limit, const std::string& owner, int month, const char* what) {
  if (value < 0 || value > limit) {
    throw WriterError(owner + ": " + what + " " + std::to_string(value) + " in " +
                      kMonthNames[month] + " does not fit its packing (0-" + std::to_string(limit) +
                      ")");
  }
}

void RefuseOtherForm(int value, const std::string& owner, int month, const char* what,
                     const char* form) {
  if (value != 0) {
    throw WriterError(owner + ": " + what + " in " + kMonthNames[month] + " has no place in the " +
                      form + "-form packing");
  }
}

void PutOldFormMonth(R& r, const MonthReport& v, int m, const std::string& owner) {
  Check(v.books, 255, owner, m, "Books");
  Check(v.brochures, 4095, owner, m, "Brochures");
  Check(v.subscriptions, 63, owner, m, "Subscriptions");
  Check(v.magazines, 4095, owner, m, "Magazines");
  RefuseOtherForm(v.placements, owner, m, "Placements", "old");
  RefuseOtherForm(v.videoShowings, owner, m, "VideoShowings", "old");
  auto& b = r.bytes;
  b[R::kMonthArrayA + m] = static_cast<std::uint8_t>(v.books);
  b[R::kMonthArrayB + m] = static_cast<std::uint8_t>(v.brochures & 0xFF);
  b[R::kMonthFlags + m] |= static_cast<std::uint8_t>((v.brochures >> 8) << 4);
  b[R::kMonthArrayD + m] =
      static_cast<std::uint8_t>(v.subscriptions | ((v.returnVisits >> 8) << 6));
  b[R::kMonthArrayE + m] = static_cast<std::uint8_t>(v.magazines & 0xFF);
  b[R::kMonthArrayG + m] =
      static_cast<std::uint8_t>(v.bibleStudies | (((v.magazines >> 8) & 3) << 6));
  b[R::kMonthFlags + m] |= static_cast<std::uint8_t>(((v.magazines >> 10) & 3) << 2);
  b[R::kMonthArrayF + m] = static_cast<std::uint8_t>(v.returnVisits & 0xFF);
}

void PutNewFormMonth(R& r, const MonthReport& v, int m, const std::string& owner) {
  Check(v.placements, 4095, owner, m, "Placements");
  Check(v.videoShowings, 4095, owner, m, "VideoShowings");
  RefuseOtherForm(v.books, owner, m, "Books", "new");
  RefuseOtherForm(v.brochures, owner, m, "Brochures", "new");
  RefuseOtherForm(v.subscriptions, owner, m, "Subscriptions", "new");
  RefuseOtherForm(v.magazines, owner, m, "Magazines", "new");
  auto& b = r.bytes;
  b[R::kMonthArrayA + m] = static_cast<std::uint8_t>(v.placements & 0xFF);
  b[R::kMonthArrayB + m] = static_cast<std::uint8_t>(v.videoShowings & 0xFF);
  b[R::kMonthArrayD + m] = static_cast<std::uint8_t>(v.returnVisits & 0xFF);
  b[R::kMonthArrayE + m] = static_cast<std::uint8_t>(v.bibleStudies);
  b[R::kMonthArrayF + m] = static_cast<std::uint8_t>((v.returnVisits >> 8) << 6);
  b[R::kMonthArrayG + m] =
      static_cast<std::uint8_t>(((v.placements >> 8) << 4) | (v.videoShowings >> 8));
  r.SetWord(R::kNewFormMonths, static_cast<std::uint16_t>(r.newFormMonths() | (1u << m)));
}

void PutMonth(R& r, const MonthReport& v, int m, const std::string& owner) {
  Check(v.hours, 255, owner, m, "Hours");
  Check(v.returnVisits, 1023, owner, m, "ReturnVisits");
  Check(v.bibleStudies, 63, owner, m, "BibleStudies");
  Check(v.quarters, 3, owner, m, "quarter hours");
  r.bytes[R::kMonthFlags + m] = static_cast<std::uint8_t>(v.pioneer);
  r.bytes[R::kMonthArrayC + m] = static_cast<std::uint8_t>(v.hours);
  r.bytes[R::kHourQuarters + m] = static_cast<std::uint8_t>(v.quarters);
  if (v.newForm) {
    PutNewFormMonth(r, v, m, owner);
  } else {
    PutOldFormMonth(r, v, m, owner);
  }
}

std::vector<std::uint8_t> Concatenate(const std::vector<std::vector<std::uint8_t>>& parts) {
  std::vector<std::uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

template <typename Record>
std::vector<std::uint8_t> BytesOf(const Record& record) {
  return std::vector<std::uint8_t>(record.bytes.begin(), record.bytes.end());
}

void RemoveFile(const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
  if (ec) throw WriterError("cannot remove " + file.string() + ": " + ec.message());
}

}  // namespace

PublisherRecord EncodeHeaderRecord(const PublisherFile& file) {
  R r;
  PutTextField(r.bytes.data(), kAccessPassword, file.password, file.scrambled, "header record");
  r.bytes[R::kPlainTextMarker] = file.scrambled ? 0 : 'A';
  std::copy(file.yearMarks.begin(), file.yearMarks.end(), r.bytes.begin() + R::kYearMarks);
  return r;
}

PublisherRecord EncodePublisherRecord(const Publisher& p, bool scrambled) {
  const std::string owner = Describe(p);
  R r;
  std::uint8_t* bytes = r.bytes.data();
  PutTextField(bytes, kGivenName, p.givenName, scrambled, owner);
  PutTextField(bytes, kFamilyName, p.familyName, scrambled, owner);
  PutTextField(bytes, kHomeAddress, p.homeAddress, scrambled, owner);
  PutTextField(bytes, kHomeTelephone, p.homeTelephone, scrambled, owner);
  PutTextField(bytes, kMobileTelephone, p.mobileTelephone, scrambled, owner);
  PutTextField(bytes, kSpareText, p.spareText, scrambled, owner);
  PutTextField(bytes, kDateImmersed, p.dateImmersed, scrambled, owner);
  PutTextField(bytes, kDateOfBirth, p.dateOfBirth, scrambled, owner);
  r.bytes[R::kAnointedMark] = p.anointed ? 'A' : 0;
  r.SetWord(R::kPublisherId, p.id);
  r.SetWord(R::kExtensionIndex, p.extensionIndex);
  r.SetWord(R::kPreviousYearLink, p.previousYearLink);
  std::uint8_t person = static_cast<std::uint8_t>(p.appointment);
  if (p.sex == Sex::kMale) person |= 0x20;
  if (p.sex == Sex::kFemale) person |= 0x40;
  r.bytes[R::kPersonFlags] = person;
  for (int m = 0; m < 12; ++m) PutMonth(r, p.months[m], m, owner);
  std::copy(p.remarkSlot.begin(), p.remarkSlot.end(), r.bytes.begin() + R::kRemarkSlot);
  return r;
}

std::vector<std::uint8_t> PublisherFileBytes(const PublisherFile& file) {
  std::vector<std::vector<std::uint8_t>> records{BytesOf(EncodeHeaderRecord(file))};
  for (const auto& p : file.publishers) {
    records.push_back(BytesOf(EncodePublisherRecord(p, file.scrambled)));
  }
  return Concatenate(records);
}

ExtensionRecord EncodeExtensionRecord(const ExtensionEntry& entry) {
  const std::string owner =
      "extension record " + std::to_string(entry.index) + " (id " + std::to_string(entry.id) + ")";
  E e;
  e.bytes[E::kExtensionId] = static_cast<std::uint8_t>(entry.id & 0xFF);
  e.bytes[E::kExtensionId + 1] = static_cast<std::uint8_t>(entry.id >> 8);
  // The reader decodes these fields whatever the publisher file's marker says.
  PutTextField(e.bytes.data(), kFullName, entry.fullName, true, owner);
  PutTextField(e.bytes.data(), kExtensionText2, entry.text2, true, owner);
  PutTextField(e.bytes.data(), kExtensionText3, entry.text3, true, owner);
  return e;
}

std::vector<std::uint8_t> ExtensionFileBytes(const std::vector<ExtensionEntry>& entries) {
  std::set<std::uint16_t> used;
  std::uint16_t highest = 0;
  for (const auto& entry : entries) {
    if (entry.index == 0)
      throw WriterError("extension record 0 is never used; give index 1 or more");
    if (!used.insert(entry.index).second) {
      throw WriterError("extension record " + std::to_string(entry.index) + " is given twice");
    }
    highest = std::max(highest, entry.index);
  }
  std::vector<std::uint8_t> bytes((highest + 1u) * E::kSize, 0);
  for (const auto& entry : entries) {
    const auto record = EncodeExtensionRecord(entry);
    std::copy(record.bytes.begin(), record.bytes.end(),
              bytes.begin() + std::size_t{entry.index} * E::kSize);
  }
  return bytes;
}

std::vector<std::uint8_t> RemarkFileBytes(const std::vector<Remark>& remarks) {
  std::vector<std::uint8_t> bytes;
  for (const auto& remark : remarks) {
    const std::string owner = "remark of id " + std::to_string(remark.publisherId) + " for month " +
                              std::to_string(remark.month);
    const std::string text = ToCodePage(remark.text, owner, "remarkText");
    if (text.size() >= RemarkRecord::kTextWidth) {
      throw WriterError(owner + ": remarkText \"" + remark.text + "\" is " +
                        std::to_string(text.size()) + " characters long; the field holds " +
                        std::to_string(RemarkRecord::kTextWidth - 1));
    }
    RemarkRecord r;
    std::copy(text.begin(), text.end(), r.bytes.begin());
    r.bytes[RemarkRecord::kRemarkMonth] = remark.month;
    r.bytes[RemarkRecord::kRemarkPublisherId] =
        static_cast<std::uint8_t>(remark.publisherId & 0xFF);
    r.bytes[RemarkRecord::kRemarkPublisherId + 1] =
        static_cast<std::uint8_t>(remark.publisherId >> 8);
    bytes.insert(bytes.end(), r.bytes.begin(), r.bytes.end());
  }
  return bytes;
}

void WriteBytesFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  if (ec) throw WriterError("cannot create the folder of " + file.string() + ": " + ec.message());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw WriterError("cannot write " + file.string());
}

void WriteCongregation(const Congregation& congregation, const std::filesystem::path& folder) {
  const auto previousFolder = folder / "Roll" / "Ov7_8";
  struct Output {
    std::filesystem::path file;
    std::optional<std::vector<std::uint8_t>> bytes;  // none: the file is removed
  };
  auto unlessEmpty = [](bool empty, auto make) -> std::optional<std::vector<std::uint8_t>> {
    if (empty) return std::nullopt;
    return make();
  };
  const std::vector<Output> outputs{
      {folder / "tdat7.bin", PublisherFileBytes(congregation.current)},
      {folder / "xten7.dat",
       unlessEmpty(congregation.extensions.empty(),
                   [&] { return ExtensionFileBytes(congregation.extensions); })},
      {folder / "remark7.dat", unlessEmpty(congregation.remarks.empty(),
                                           [&] { return RemarkFileBytes(congregation.remarks); })},
      {previousFolder / "tdat7.bin",
       unlessEmpty(!congregation.previous,
                   [&] { return PublisherFileBytes(*congregation.previous); })},
      {previousFolder / "remark7.dat",
       unlessEmpty(congregation.previousRemarks.empty(),
                   [&] { return RemarkFileBytes(congregation.previousRemarks); })},
  };
  for (const auto& output : outputs) {
    if (output.bytes) {
      WriteBytesFile(output.file, *output.bytes);
    } else {
      RemoveFile(output.file);
    }
  }
}

}  // namespace velunorh::tools
