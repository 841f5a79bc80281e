#include "base/codepage.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <iconv.h>

#include <cerrno>
#include <vector>

#include "base/string_table.h"
#include "base/string_table_by_number.h"
#endif

namespace velunorh {
namespace {

using namespace std::string_view_literals;

// What every byte of windows-1250 reads as; the five undefined bytes read as '?'.
constexpr std::array<std::string_view, 256> kUtf8OfByte = {
    "\x00"sv,         "\x01"sv,         "\x02"sv,         "\x03"sv,         "\x04"sv,
    "\x05"sv,         "\x06"sv,         "\x07"sv,         "\x08"sv,         "\x09"sv,
    "\x0A"sv,         "\x0B"sv,         "\x0C"sv,         "\x0D"sv,         "\x0E"sv,
    "\x0F"sv,         "\x10"sv,         "\x11"sv,         "\x12"sv,         "\x13"sv,
    "\x14"sv,         "\x15"sv,         "\x16"sv,         "\x17"sv,         "\x18"sv,
    "\x19"sv,         "\x1A"sv,         "\x1B"sv,         "\x1C"sv,         "\x1D"sv,
    "\x1E"sv,         "\x1F"sv,         "\x20"sv,         "\x21"sv,         "\x22"sv,
    "\x23"sv,         "\x24"sv,         "\x25"sv,         "\x26"sv,         "\x27"sv,
    "\x28"sv,         "\x29"sv,         "\x2A"sv,         "\x2B"sv,         "\x2C"sv,
    "\x2D"sv,         "\x2E"sv,         "\x2F"sv,         "\x30"sv,         "\x31"sv,
    "\x32"sv,         "\x33"sv,         "\x34"sv,         "\x35"sv,         "\x36"sv,
    "\x37"sv,         "\x38"sv,         "\x39"sv,         "\x3A"sv,         "\x3B"sv,
    "\x3C"sv,         "\x3D"sv,         "\x3E"sv,         "\x3F"sv,         "\x40"sv,
    "\x41"sv,         "\x42"sv,         "\x43"sv,         "\x44"sv,         "\x45"sv,
    "\x46"sv,         "\x47"sv,         "\x48"sv,         "\x49"sv,         "\x4A"sv,
    "\x4B"sv,         "\x4C"sv,         "\x4D"sv,         "\x4E"sv,         "\x4F"sv,
    "\x50"sv,         "\x51"sv,         "\x52"sv,         "\x53"sv,         "\x54"sv,
    "\x55"sv,         "\x56"sv,         "\x57"sv,         "\x58"sv,         "\x59"sv,
    "\x5A"sv,         "\x5B"sv,         "\x5C"sv,         "\x5D"sv,         "\x5E"sv,
    "\x5F"sv,         "\x60"sv,         "\x61"sv,         "\x62"sv,         "\x63"sv,
    "\x64"sv,         "\x65"sv,         "\x66"sv,         "\x67"sv,         "\x68"sv,
    "\x69"sv,         "\x6A"sv,         "\x6B"sv,         "\x6C"sv,         "\x6D"sv,
    "\x6E"sv,         "\x6F"sv,         "\x70"sv,         "\x71"sv,         "\x72"sv,
    "\x73"sv,         "\x74"sv,         "\x75"sv,         "\x76"sv,         "\x77"sv,
    "\x78"sv,         "\x79"sv,         "\x7A"sv,         "\x7B"sv,         "\x7C"sv,
    "\x7D"sv,         "\x7E"sv,         "\x7F"sv,         "\xE2\x82\xAC"sv, "\x3F"sv,
    "\xE2\x80\x9A"sv, "\x3F"sv,         "\xE2\x80\x9E"sv, "\xE2\x80\xA6"sv, "\xE2\x80\xA0"sv,
    "\xE2\x80\xA1"sv, "\x3F"sv,         "\xE2\x80\xB0"sv, "\xC5\xA0"sv,     "\xE2\x80\xB9"sv,
    "\xC5\x9A"sv,     "\xC5\xA4"sv,     "\xC5\xBD"sv,     "\xC5\xB9"sv,     "\x3F"sv,
    "\xE2\x80\x98"sv, "\xE2\x80\x99"sv, "\xE2\x80\x9C"sv, "\xE2\x80\x9D"sv, "\xE2\x80\xA2"sv,
    "\xE2\x80\x93"sv, "\xE2\x80\x94"sv, "\x3F"sv,         "\xE2\x84\xA2"sv, "\xC5\xA1"sv,
    "\xE2\x80\xBA"sv, "\xC5\x9B"sv,     "\xC5\xA5"sv,     "\xC5\xBE"sv,     "\xC5\xBA"sv,
    "\xC2\xA0"sv,     "\xCB\x87"sv,     "\xCB\x98"sv,     "\xC5\x81"sv,     "\xC2\xA4"sv,
    "\xC4\x84"sv,     "\xC2\xA6"sv,     "\xC2\xA7"sv,     "\xC2\xA8"sv,     "\xC2\xA9"sv,
    "\xC5\x9E"sv,     "\xC2\xAB"sv,     "\xC2\xAC"sv,     "\xC2\xAD"sv,     "\xC2\xAE"sv,
    "\xC5\xBB"sv,     "\xC2\xB0"sv,     "\xC2\xB1"sv,     "\xCB\x9B"sv,     "\xC5\x82"sv,
    "\xC2\xB4"sv,     "\xC2\xB5"sv,     "\xC2\xB6"sv,     "\xC2\xB7"sv,     "\xC2\xB8"sv,
    "\xC4\x85"sv,     "\xC5\x9F"sv,     "\xC2\xBB"sv,     "\xC4\xBD"sv,     "\xCB\x9D"sv,
    "\xC4\xBE"sv,     "\xC5\xBC"sv,     "\xC5\x94"sv,     "\xC3\x81"sv,     "\xC3\x82"sv,
    "\xC4\x82"sv,     "\xC3\x84"sv,     "\xC4\xB9"sv,     "\xC4\x86"sv,     "\xC3\x87"sv,
    "\xC4\x8C"sv,     "\xC3\x89"sv,     "\xC4\x98"sv,     "\xC3\x8B"sv,     "\xC4\x9A"sv,
    "\xC3\x8D"sv,     "\xC3\x8E"sv,     "\xC4\x8E"sv,     "\xC4\x90"sv,     "\xC5\x83"sv,
    "\xC5\x87"sv,     "\xC3\x93"sv,     "\xC3\x94"sv,     "\xC5\x90"sv,     "\xC3\x96"sv,
    "\xC3\x97"sv,     "\xC5\x98"sv,     "\xC5\xAE"sv,     "\xC3\x9A"sv,     "\xC5\xB0"sv,
    "\xC3\x9C"sv,     "\xC3\x9D"sv,     "\xC5\xA2"sv,     "\xC3\x9F"sv,     "\xC5\x95"sv,
    "\xC3\xA1"sv,     "\xC3\xA2"sv,     "\xC4\x83"sv,     "\xC3\xA4"sv,     "\xC4\xBA"sv,
    "\xC4\x87"sv,     "\xC3\xA7"sv,     "\xC4\x8D"sv,     "\xC3\xA9"sv,     "\xC4\x99"sv,
    "\xC3\xAB"sv,     "\xC4\x9B"sv,     "\xC3\xAD"sv,     "\xC3\xAE"sv,     "\xC4\x8F"sv,
    "\xC4\x91"sv,     "\xC5\x84"sv,     "\xC5\x88"sv,     "\xC3\xB3"sv,     "\xC3\xB4"sv,
    "\xC5\x91"sv,     "\xC3\xB6"sv,     "\xC3\xB7"sv,     "\xC5\x99"sv,     "\xC5\xAF"sv,
    "\xC3\xBA"sv,     "\xC5\xB1"sv,     "\xC3\xBC"sv,     "\xC3\xBD"sv,     "\xC5\xA3"sv,
    "\xCB\x99"sv,
};

TEST(CodePage, EveryByteReadsAsItsCharacter) {
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(CodePageToUtf8(std::string(1, static_cast<char>(b))), kUtf8OfByte[b]) << b;
  }
}

TEST(CodePage, EveryDefinedByteComesBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    if (kUtf8OfByte[b] != "?" || b == '?') all += byte;
  }
  EXPECT_EQ(Utf8ToCodePage(CodePageToUtf8(all)), all);
  EXPECT_EQ(all.size(), 256u - 5u);
}

TEST(CodePage, WhatTheCodePageCannotHoldBecomesOnePlaceholderPerByte) {
  struct Case {
    std::string_view utf8, expected;
  } cases[] = {
      {"\xC5\x91 \xC5\xB1"sv, "\xF5 \xFB"sv},  // ő ű
      {"\xC3\xB1"sv, "??"sv},                  // ñ is not in the code page
      {"\xF0\x9F\x98\x80!"sv,
       "????"
       "!"sv},                        // beyond the BMP
      {"\xEF\xBB\xBFx"sv, "???x"sv},  // a byte-order mark is a character like any other
      {"a\xFF"
       "b"sv,
       "a?b"sv},                    // never the start of a sequence
      {"\xC0\x80"sv, "??"sv},       // overlong
      {"\xED\xA0\x80"sv, "???"sv},  // a surrogate
      {"\xE2\x82"
       "A"sv,
       "??A"sv},                 // cut short by a character
      {"x\xE2\x82"sv, "x??"sv},  // cut short by the end
      {"\x00\x7F"sv, "\x00\x7F"sv},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToCodePage(c.utf8), c.expected) << c.utf8;
}

#ifndef _WIN32
// The conversion as it was done through iconv, kept to show that the table agrees with it.
std::string IconvConvert(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "iconv cannot convert " << from << " to " << to;
    return {};
  }
  std::string out;
  std::vector<char> buffer(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char* dst = buffer.data();
    std::size_t dstLeft = buffer.size();
    std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer.data(), dst - buffer.data());
    if (rc == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      out += '?';
      ++src;
      --srcLeft;
    }
  }
  iconv_close(cd);
  return out;
}

std::string IconvToUtf8(std::string_view bytes) {
  return IconvConvert("UTF-8", "WINDOWS-1250", bytes);
}
std::string IconvToCodePage(std::string_view utf8) {
  return IconvConvert("WINDOWS-1250", "UTF-8", utf8);
}

TEST(CodePage, AgreesWithIconvOnEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    all += byte;
    EXPECT_EQ(CodePageToUtf8(byte), IconvToUtf8(byte)) << b;
    EXPECT_EQ(kUtf8OfByte[b], IconvToUtf8(byte)) << b;
    EXPECT_EQ(Utf8ToCodePage(IconvToUtf8(byte)), IconvToCodePage(IconvToUtf8(byte))) << b;
  }
  EXPECT_EQ(CodePageToUtf8(all), IconvToUtf8(all));
  EXPECT_EQ(Utf8ToCodePage(all), IconvToCodePage(all));  // the upper half is no UTF-8
}

TEST(CodePage, AgreesWithIconvOnTheStringTable) {
  constexpr int kLastId = 2000;
  int texts = 0;
  for (int id = 0; id <= kLastId; ++id) {
    const std::string text = LoadString(id);
    if (text.empty()) continue;
    ++texts;
    const std::string bytes = IconvToCodePage(text);
    ASSERT_EQ(Utf8ToCodePage(text), bytes) << id;
    EXPECT_EQ(CodePageToUtf8(bytes), IconvToUtf8(bytes)) << id;
    // Each character on its own too, so that no placeholder hides another.
    for (std::size_t at = 0; at < text.size();) {
      std::size_t length = 1;
      while (at + length < text.size() && (text[at + length] & 0xC0) == 0x80) ++length;
      const std::string one = text.substr(at, length);
      EXPECT_EQ(Utf8ToCodePage(one), IconvToCodePage(one)) << id << " " << one;
      at += length;
    }
  }
  EXPECT_GT(texts, 0);
}

// Every character of the Basic Multilingual Plane and a few beyond, and the broken sequences
// of the test above: the placeholders fall where iconv put them.
TEST(CodePage, AgreesWithIconvOnEveryCharacterAndBrokenSequences) {
  auto utf8 = [](char32_t c) {
    std::string s;
    if (c < 0x80) {
      s += static_cast<char>(c);
    } else if (c < 0x800) {
      s += static_cast<char>(0xC0 | (c >> 6));
      s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      s += static_cast<char>(0xE0 | (c >> 12));
      s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      s += static_cast<char>(0xF0 | (c >> 18));
      s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
  };
  // In runs of 64 characters: iconv slows down with the length of the text after a placeholder.
  constexpr char32_t kRun = 64;
  for (char32_t first = 0; first < 0x10000; first += kRun) {
    std::string run;
    for (char32_t c = first; c < first + kRun; ++c) run += utf8(c);
    ASSERT_EQ(Utf8ToCodePage(run), IconvToCodePage(run))
        << "from U+" << std::hex << static_cast<unsigned>(first);
  }
  std::string beyond;
  for (char32_t c : {0x10000u, 0x1F600u, 0x10FFFFu, 0x110000u}) beyond += utf8(c);
  EXPECT_EQ(Utf8ToCodePage(beyond), IconvToCodePage(beyond));
  for (std::string_view broken :
       {"\xC0\x80"sv, "\xED\xA0\x80"sv,
        "\xE2\x82"
        "A"sv,
        "x\xE2\x82"sv, "\xF4\x90\x80\x80"sv, "\xF8\x88\x80\x80\x80"sv, "\x80\xBF"sv}) {
    EXPECT_EQ(Utf8ToCodePage(broken), IconvToCodePage(broken)) << broken;
  }
}
#endif

}  // namespace
}  // namespace velunorh
