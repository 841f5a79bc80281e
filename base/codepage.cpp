#include "base/codepage.h"

#include <array>
#include <cstdint>

namespace velunorh {
namespace {

// What stands for a byte or character that has no counterpart on the other side.
constexpr char kPlaceholder = '?';
constexpr char16_t kNone = 0;

// The characters of windows-1250's bytes 0x80-0xFF; the lower half is ASCII. Five bytes are
// undefined in the code page.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, kNone,  0x201A, kNone,  0x201E, 0x2026, 0x2020, 0x2021,  // 80
    kNone,  0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    kNone,  0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    kNone,  0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point of the well-formed UTF-8 sequence at `at` and its length, or length 0 when the
// bytes there are no such sequence (overlong, a surrogate, beyond U+10FFFF or cut short).
struct Decoded {
  char32_t c = 0;
  std::size_t length = 0;
};

Decoded DecodeUtf8(std::string_view s, std::size_t at) {
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  const std::uint8_t lead = byte(at);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t c = 0;
  char32_t lowest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, lowest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, lowest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, lowest = 0x10000;
  } else {
    return {};
  }
  if (s.size() - at < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {};
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  if (c < lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
  return {c, length};
}

// The byte of each character of the upper half, found by a search of the table.
int CodePageByte(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] != kNone && kHighHalf[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

}  // namespace

std::string CodePageToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char byte : bytes) {
    const auto b = static_cast<std::uint8_t>(byte);
    if (b < 0x80) {
      out += byte;
    } else if (char16_t c = kHighHalf[b - 0x80]; c != kNone) {
      AppendUtf8(out, c);
    } else {
      out += kPlaceholder;
    }
  }
  return out;
}

std::string Utf8ToCodePage(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Decoded d = DecodeUtf8(utf8, at);
    const int b = d.length > 0 ? CodePageByte(d.c) : -1;
    if (b >= 0) {
      out += static_cast<char>(b);
      at += d.length;
    } else {
      // Like the conversion always did: one placeholder for the first byte, and the bytes
      // after it are taken on their own (so a character the code page lacks gives one
      // placeholder per byte).
      out += kPlaceholder;
      ++at;
    }
  }
  return out;
}

}  // namespace velunorh
