#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace velunorh {

// A publisher's appointment: bits 0-1 of personFlags. A stored 3 names none of these.
enum class Appointment : std::uint8_t { kNone = 0, kMinisterialServant = 1, kElder = 2 };

// A month's pioneer status: bits 0-1 of the month's flags. A stored 3 names none of these.
enum class Pioneer : std::uint8_t { kNone = 0, kAuxiliary = 1, kRegular = 2 };

// One 336-byte record of the publisher file "tdat7.bin". Record 0 of a file is the header
// record; the others are publishers. Multi-byte integers are little-endian, texts are
// NUL-terminated single-byte text (the edition's code page) inside fixed-width fields.
struct PublisherRecord {
  static constexpr std::size_t kSize = 336;

  // Byte offsets and widths of the fields.
  struct Field {
    std::size_t offset;
    std::size_t width;
  };
  static constexpr Field kGivenName{2, 21};
  static constexpr Field kFamilyName{23, 21};
  static constexpr Field kHomeAddress{44, 63};
  static constexpr Field kHomeTelephone{107, 15};
  static constexpr Field kMobileTelephone{122, 15};
  static constexpr Field kSpareText{137, 15};
  static constexpr Field kDateImmersed{152, 9};
  static constexpr Field kDateOfBirth{161, 9};
  static constexpr std::size_t kAnointedMark = 180;
  static constexpr std::size_t kPublisherId = 182;
  static constexpr std::size_t kExtensionIndex = 184;
  static constexpr std::size_t kPreviousYearLink = 192;
  static constexpr std::size_t kNewFormMonths = 196;
  static constexpr std::size_t kMonthFlags = 202;
  static constexpr std::size_t kPersonFlags = 215;
  static constexpr std::size_t kMonthArrayA = 216;
  static constexpr std::size_t kMonthArrayB = 228;
  static constexpr std::size_t kMonthArrayC = 240;
  static constexpr std::size_t kMonthArrayD = 252;
  static constexpr std::size_t kMonthArrayE = 264;
  static constexpr std::size_t kMonthArrayF = 276;
  static constexpr std::size_t kMonthArrayG = 288;
  static constexpr std::size_t kHourQuarters = 300;
  static constexpr std::size_t kRemarkSlot = 312;

  // Header record (record 0) only.
  static constexpr Field kAccessPassword{2, 21};
  static constexpr std::size_t kPlainTextMarker = 23;
  static constexpr std::size_t kYearMarks = 312;

  std::array<std::uint8_t, kSize> bytes{};

  // The raw bytes of a text field up to its first NUL, never past the field's width.
  std::string RawText(Field field) const;
  // The same text turned into UTF-8.
  std::string Text(Field field) const;
  // Writes raw bytes into a field, cut to width - 1 and NUL-padded.
  void SetRawText(Field field, const std::string& raw);

  std::uint8_t Byte(std::size_t offset) const { return bytes[offset]; }
  std::uint16_t Word(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
  }
  void SetWord(std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  // Byte m (0 = January ... 11 = December) of a 12-byte month array.
  std::uint8_t MonthByte(std::size_t array, int month) const { return bytes[array + month]; }

  std::string givenName() const { return Text(kGivenName); }
  std::string familyName() const { return Text(kFamilyName); }
  std::string homeAddress() const { return Text(kHomeAddress); }
  std::string homeTelephone() const { return Text(kHomeTelephone); }
  std::string mobileTelephone() const { return Text(kMobileTelephone); }
  std::uint8_t anointedMark() const { return bytes[kAnointedMark]; }
  std::uint16_t publisherId() const { return Word(kPublisherId); }
  std::uint16_t extensionIndex() const { return Word(kExtensionIndex); }
  std::uint16_t previousYearLink() const { return Word(kPreviousYearLink); }
  std::uint16_t newFormMonths() const { return Word(kNewFormMonths); }
  std::uint8_t personFlags() const { return bytes[kPersonFlags]; }
  velunorh::Pioneer PioneerStatus(int month) const {
    return static_cast<velunorh::Pioneer>(MonthByte(kMonthFlags, month) & 3);
  }
  velunorh::Appointment Appointment() const {
    return static_cast<velunorh::Appointment>(personFlags() & 3);
  }
  bool IsMale() const { return (personFlags() & 0x20) != 0; }
  bool IsFemale() const { return (personFlags() & 0x40) != 0; }
  std::uint8_t remarkSlot(int month) const { return MonthByte(kRemarkSlot, month); }
  void SetRemarkSlot(int month, std::uint8_t slot) { bytes[kRemarkSlot + month] = slot; }

  // Header record accessors.
  std::string accessPassword() const { return RawText(kAccessPassword); }
  bool IsPlainText() const { return bytes[kPlainTextMarker] == 'A'; }
  std::uint8_t YearMark(int index) const { return bytes[kYearMarks + index]; }
};

}  // namespace velunorh
