#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velunorh {

// The twelve header positions, in the order of the layout file and of the detailed settings rows.
enum class HeaderPosition {
  Name,
  HomeAddress,
  HomeTelephone,
  MobileTelephone,
  DateOfBirth,
  DateImmersed,
  AnointedOrOtherSheep,
  Elder,
  RegularPioneer,
  MinisterialServant,
  Male,
  Female,
};
inline constexpr int kHeaderPositionCount = 12;

// The nine values of the monthly grid, in file order.
enum class BodyValue {
  BodyTop,     // first month row (September), from the top margin
  BodyHeight,  // height of the twelve month rows together
  GridColumn1,
  GridColumn2,
  GridColumn3,
  GridColumn4,
  GridColumn5,
  GridColumn6,
  GridColumn7,  // remarks
};
inline constexpr int kBodyValueCount = 9;

// The print positions of one card version: the exact 400-byte image of its layout file. Each
// position is a `LayoutValue`: ASCII text of inches ("1.25") in an 8-byte slot, NUL-terminated
// when shorter than 8. The bytes are kept as they are, so reserved bytes and stale bytes behind
// a slot's NUL read from a file are written back unchanged.
class CardLayout {
 public:
  static constexpr std::size_t kSize = 400;
  static constexpr std::size_t kValueSize = 8;         // one LayoutValue slot
  static constexpr std::size_t kMaxValueLength = 7;    // characters before the NUL
  static constexpr std::size_t kReservedOffset = 192;  // 128 reserved bytes
  static constexpr std::size_t kReservedSize = 128;
  static constexpr std::size_t kBodyOffset = 320;
  static constexpr std::size_t kTailOffset = 392;  // 8 reserved bytes at the end
  static constexpr std::size_t kTailSize = 8;

  static constexpr std::size_t XOffset(HeaderPosition p) {
    return 2 * kValueSize * static_cast<std::size_t>(p);
  }
  static constexpr std::size_t YOffset(HeaderPosition p) { return XOffset(p) + kValueSize; }
  static constexpr std::size_t Offset(BodyValue v) {
    return kBodyOffset + kValueSize * static_cast<std::size_t>(v);
  }

  std::array<std::uint8_t, kSize> bytes{};

  // The text of the slot at `offset` up to its first NUL, at most 8 bytes: a slot without a NUL
  // gives all 8. An offset whose slot does not lie inside the layout gives "".
  std::string LayoutValue(std::size_t offset) const;
  // Puts the first 7 bytes of `text` into the slot and fills the rest of it with NULs. An offset
  // whose slot does not lie inside the layout changes nothing.
  void SetLayoutValue(std::size_t offset, std::string_view text);

  std::string X(HeaderPosition p) const { return LayoutValue(XOffset(p)); }
  std::string Y(HeaderPosition p) const { return LayoutValue(YOffset(p)); }
  std::string Body(BodyValue v) const { return LayoutValue(Offset(v)); }
  void SetX(HeaderPosition p, std::string_view text) { SetLayoutValue(XOffset(p), text); }
  void SetY(HeaderPosition p, std::string_view text) { SetLayoutValue(YOffset(p), text); }
  void SetBody(BodyValue v, std::string_view text) { SetLayoutValue(Offset(v), text); }

  bool operator==(const CardLayout&) const = default;
};

// Card versions, their names and forms come from the string table.
int CardVersionCount();
std::string CardVersionName(int version);  // "" for a version the table does not name
bool IsNewForm(int version);               // the version's new-form flag reads "Y"

// "cplot.dat" for version 0, "cplot<version>.dat" for the others.
std::string LayoutFileName(int version);

// Reads the version's layout file from `folder`. True when a whole 400-byte block was read; a
// longer file (up to kMaxLayoutFileBytes) gives its first 400 bytes. A missing, unreadable or
// shorter file gives false and an all-zero layout, which the caller replaces with
// MakeDefaultLayout. A layout file larger than this is no layout: it loads as missing, without
// being read (and is never replaced, see SaveLayout).
inline constexpr std::uint64_t kMaxLayoutFileBytes = 4096;
bool LoadLayout(CardLayout& layout, const std::filesystem::path& folder, int version);

// Why the version's layout file, which is there, cannot be read (it cannot be opened, is not a
// regular file, or is larger than kMaxLayoutFileBytes); nothing when it is missing or readable
// (a short file counts as missing, as it always did).
std::optional<std::string> LayoutFileUnreadable(const std::filesystem::path& folder, int version);

// Writes the 400 bytes as the version's layout file in `folder`, atomically: a failed save leaves
// the old file whole. On failure returns false and, when `error` is given, says why. A file that
// is there but could not be read as a layout may hold the secretary's measured positions: it is
// never replaced, nor is one the user made read-only or anything but a regular file.
bool SaveLayout(const CardLayout& layout, const std::filesystem::path& folder, int version,
                std::string* error = nullptr);

// All 400 bytes zeroed, then the version's defaults from the string table: Version<v><position>X
// and ...Y of each header position, Version<v><body value> of each body value.
void MakeDefaultLayout(CardLayout& layout, int version);

// Checks a typed position or margin and rewrites it into the form D.DD. False rejects the text
// and leaves it as it was; telling the user (string 116) is the caller's part.
bool NormalizeLayoutValue(std::string& text);

// A position in device units: whole inches from the first character (a digit; anything else
// counts 0), hundredths from the third and fourth characters read as atoi reads them (a missing
// character ends the number), so "1.5" is 1 inch 5 hundredths and "1.234" 1 inch 23 hundredths.
// Integer arithmetic, the division truncating; clamped to the int range.
int LayoutValueToDevice(std::string_view text, int unitsPerInch);

// The same position in hundredths of an inch: LayoutValueToDevice(text, 100). For every text in
// the form D.DD this is the text without its point ("1.30" gives 130).
int LayoutValueHundredths(std::string_view text);

}  // namespace velunorh
