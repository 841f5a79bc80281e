#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace velunorh {

// One 192-byte record of the extension file "xten7.dat"; record 0 is never used.
struct ExtensionRecord {
  static constexpr std::size_t kSize = 192;
  static constexpr std::size_t kExtensionId = 0;
  struct Field {
    std::size_t offset;
    std::size_t width;
  };
  static constexpr Field kFullName{2, 65};
  static constexpr Field kExtensionText2{67, 51};
  static constexpr Field kExtensionText3{118, 72};

  std::array<std::uint8_t, kSize> bytes{};

  std::uint16_t extensionId() const {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
  }
  // The raw bytes of a text field up to its first NUL, never past the field's width.
  std::string RawText(Field field) const;
  std::string fullName() const;  // UTF-8

  // Turns a record as stored in the file into readable text: terminates the three text fields
  // inside their widths and decodes them.
  void Unscramble();
};

}  // namespace velunorh
