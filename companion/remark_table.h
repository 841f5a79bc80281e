#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velunorh {

// One 40-byte record of a remark file "remark7.dat" (not scrambled).
struct RemarkRecord {
  static constexpr std::size_t kSize = 40;
  static constexpr std::size_t kTextWidth = 36;
  static constexpr std::size_t kRemarkMonth = 37;
  static constexpr std::size_t kRemarkPublisherId = 38;

  std::array<std::uint8_t, kSize> bytes{};

  std::string remarkText() const;  // UTF-8, up to the NUL within the first 36 bytes
  // The text as the table keeps it: at most 35 characters, the byte after the field cleared.
  void TerminateText();
  int remarkMonth() const { return bytes[kRemarkMonth]; }
  std::uint16_t remarkPublisherId() const {
    return static_cast<std::uint16_t>(bytes[38] | (bytes[39] << 8));
  }
};

// The remarks of one month: slot 0 all zeros, slots 1 .. count-1 the accepted records. Only
// the used slots are held; at most kSlots of them.
struct RemarkTable {
  static constexpr int kSlots = 254;
  std::vector<RemarkRecord> slots = std::vector<RemarkRecord>(1);
  int count = 1;  // the next free slot; always slots.size()
};

}  // namespace velunorh
