#include "card/card_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "base/string_table.h"
#include "test_support.h"

#ifndef _WIN32
#include "posix_test_support.h"
#endif

namespace velunorh {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// 400 bytes that are nowhere zero, so a byte that is dropped, moved or zeroed shows.
std::vector<unsigned char> BusyImage() {
  std::vector<unsigned char> image(CardLayout::kSize);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<unsigned char>(i * 7 + 1);
  return image;
}

CardLayout FromImage(const std::vector<unsigned char>& image) {
  CardLayout layout;
  std::copy(image.begin(), image.end(), layout.bytes.begin());
  return layout;
}

TEST(CardLayout, SlotTextStopsAtNulOrSlotEnd) {
  struct Case {
    const char* bytes;  // 8 bytes of a slot
    std::string text;
  } cases[] = {
      {"1.25\0\0\0\0", "1.25"},
      {"1.5\0"
       "9.9\0",
       "1.5"},  // stale bytes behind the NUL never reach a reader
      {"\0"
       "1.25\0\0\0",
       ""},
      {"12345678", "12345678"},  // no NUL: the whole slot, not a byte more
  };
  // On the heap and in the last slot, so a read past the slot is a read past the allocation.
  auto layout = std::make_unique<CardLayout>();
  for (const auto& c : cases) {
    std::copy_n(c.bytes, 8, layout->bytes.begin() + CardLayout::kTailOffset);
    EXPECT_EQ(layout->LayoutValue(CardLayout::kTailOffset), c.text) << c.text;
  }
  EXPECT_EQ(layout->LayoutValue(CardLayout::kSize - 7), "");  // slot would cross the end
}

TEST(CardLayout, SetValueCutsToSevenAndClearsOnlyItsSlot) {
  CardLayout layout = FromImage(BusyImage());
  const CardLayout before = layout;
  const std::size_t x = CardLayout::XOffset(HeaderPosition::Elder);

  layout.SetX(HeaderPosition::Elder, "1.234567890");
  EXPECT_EQ(layout.X(HeaderPosition::Elder), "1.23456");
  EXPECT_EQ(layout.bytes[x + 7], 0);

  layout.SetX(HeaderPosition::Elder, "2");
  for (std::size_t i = 1; i < 8; ++i) EXPECT_EQ(layout.bytes[x + i], 0) << i;
  for (std::size_t i = 0; i < CardLayout::kSize; ++i) {
    if (i < x || i >= x + 8) {
      EXPECT_EQ(layout.bytes[i], before.bytes[i]) << i;
    }
  }

  layout.SetLayoutValue(CardLayout::kSize - 4, "9.99");  // outside: ignored
  EXPECT_EQ(layout.LayoutValue(CardLayout::kTailOffset),
            before.LayoutValue(CardLayout::kTailOffset));
}

TEST(CardLayout, DefaultImageOfVersionZero) {
  CardLayout layout = FromImage(BusyImage());
  MakeDefaultLayout(layout, 0);
  auto text_at = [&](std::size_t offset) {
    return std::string(reinterpret_cast<const char*>(layout.bytes.data() + offset), 8);
  };
  EXPECT_EQ(text_at(0), std::string("0.30\0\0\0\0", 8));    // Name X
  EXPECT_EQ(text_at(8), std::string("0.22\0\0\0\0", 8));    // Name Y
  EXPECT_EQ(text_at(184), std::string("0.10\0\0\0\0", 8));  // Female Y
  EXPECT_EQ(text_at(320), std::string("1.30\0\0\0\0", 8));  // BodyTop
  EXPECT_EQ(text_at(384), std::string("3.60\0\0\0\0", 8));  // GridColumn7
  for (std::size_t i = 0; i < CardLayout::kReservedSize; ++i) {
    EXPECT_EQ(layout.bytes[CardLayout::kReservedOffset + i], 0) << i;
  }
  for (std::size_t i = 0; i < CardLayout::kTailSize; ++i) {
    EXPECT_EQ(layout.bytes[CardLayout::kTailOffset + i], 0) << i;
  }
}

TEST(CardLayout, DefaultsOfEachVersion) {
  struct HeaderCase {
    int version;
    HeaderPosition position;
    const char* x;
    const char* y;
  } headers[] = {
      {0, HeaderPosition::HomeAddress, "0.50", "0.38"},
      {1, HeaderPosition::DateImmersed, "1.20", "0.81"},
      {2, HeaderPosition::MinisterialServant, "4.39", "0.75"},
      {3, HeaderPosition::MobileTelephone, "1.65", "0.57"},
      {4, HeaderPosition::Female, "5.25", "0.10"},
      {4, HeaderPosition::Male, "5.25", "0.00"},
  };
  for (const auto& c : headers) {
    CardLayout layout;
    MakeDefaultLayout(layout, c.version);
    EXPECT_EQ(layout.X(c.position), c.x) << c.version << " " << static_cast<int>(c.position);
    EXPECT_EQ(layout.Y(c.position), c.y) << c.version << " " << static_cast<int>(c.position);
  }
  struct BodyCase {
    int version;
    BodyValue value;
    const char* text;
  } bodies[] = {
      {0, BodyValue::BodyHeight, "2.16"},  {1, BodyValue::BodyTop, "1.32"},
      {1, BodyValue::BodyHeight, "1.75"},  {1, BodyValue::GridColumn6, "3.70"},
      {2, BodyValue::BodyHeight, "1.66"},  {3, BodyValue::GridColumn1, "0.62"},
      {4, BodyValue::GridColumn7, "3.38"},
  };
  for (const auto& c : bodies) {
    CardLayout layout;
    MakeDefaultLayout(layout, c.version);
    EXPECT_EQ(layout.Body(c.value), c.text) << c.version << " " << static_cast<int>(c.value);
  }
}

// A default that is missing or mistyped in the string table would print at a wrong place.
TEST(CardLayout, EveryDefaultIsAPositionInNormalForm) {
  for (int version = 0; version < 5; ++version) {
    CardLayout layout;
    MakeDefaultLayout(layout, version);
    for (std::size_t offset = 0; offset < CardLayout::kSize; offset += CardLayout::kValueSize) {
      bool reserved = (offset >= CardLayout::kReservedOffset && offset < CardLayout::kBodyOffset) ||
                      offset == CardLayout::kTailOffset;
      std::string text = layout.LayoutValue(offset);
      if (reserved) {
        EXPECT_EQ(text, "") << version << " @" << offset;
        continue;
      }
      std::string normal = text;
      EXPECT_TRUE(NormalizeLayoutValue(normal)) << version << " @" << offset;
      EXPECT_EQ(text.size(), 4u) << version << " @" << offset;
      EXPECT_EQ(normal, text) << version << " @" << offset;
    }
  }
}

TEST(CardVersions, CountNamesAndForms) {
  EXPECT_EQ(CardVersionCount(), 2);
  EXPECT_EQ(CardVersionName(0), "S-21-H   10/15   Printed in Germany");
  EXPECT_EQ(CardVersionName(1), "S-21-H  Hu  4/05  Printed in Germany");
  EXPECT_EQ(CardVersionName(3), " ");
  EXPECT_TRUE(IsNewForm(0));
  EXPECT_FALSE(IsNewForm(1));
  EXPECT_FALSE(IsNewForm(4));
  EXPECT_FALSE(IsNewForm(9));  // no such string
}

TEST(CardVersions, LayoutFileNames) {
  EXPECT_EQ(LayoutFileName(0), "cplot.dat");
  EXPECT_EQ(LayoutFileName(1), "cplot1.dat");
  EXPECT_EQ(LayoutFileName(4), "cplot4.dat");
}

TEST(LayoutFile, LoadTakesOnlyAWhole400ByteBlock) {
  const auto image = BusyImage();
  struct Case {
    std::size_t size;  // 0 here means no file at all
    bool loaded;
  } cases[] = {{0, false},
               {1, false},
               {399, false},
               {400, true},
               {401, true},
               {4000, true},
               {4096, true},
               {4097, false},  // larger is no layout
               {std::size_t{4} << 30, false}};
  for (const auto& c : cases) {
    TempDir dir;
    if (c.size > 4096) {
      WriteBytes(dir / "cplot1.dat", image);
      std::filesystem::resize_file(dir / "cplot1.dat", c.size);  // sparse: costs nothing
    } else if (c.size > 0) {
      std::vector<unsigned char> bytes(c.size, 0xEE);
      std::copy_n(image.begin(), std::min(c.size, image.size()), bytes.begin());
      WriteBytes(dir / "cplot1.dat", bytes);
    }
    CardLayout layout = FromImage(std::vector<unsigned char>(CardLayout::kSize, 0x55));
    EXPECT_EQ(LoadLayout(layout, dir.path(), 1), c.loaded) << c.size;
    // A whole block gives the file's first 400 bytes; anything else a zeroed layout.
    CardLayout expected = c.loaded ? FromImage(image) : CardLayout{};
    EXPECT_EQ(layout, expected) << c.size;
  }
}

TEST(LayoutFile, LoadReadsTheVersionsOwnFile) {
  TempDir dir;
  CardLayout zero, three;
  MakeDefaultLayout(zero, 0);
  MakeDefaultLayout(three, 3);
  ASSERT_TRUE(SaveLayout(zero, dir.path(), 0));
  ASSERT_TRUE(SaveLayout(three, dir.path(), 3));
  EXPECT_TRUE(std::filesystem::exists(dir / "cplot.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir / "cplot3.dat"));

  CardLayout loaded;
  ASSERT_TRUE(LoadLayout(loaded, dir.path(), 3));
  EXPECT_EQ(loaded, three);
  ASSERT_TRUE(LoadLayout(loaded, dir.path(), 0));
  EXPECT_EQ(loaded, zero);
  EXPECT_FALSE(LoadLayout(loaded, dir.path(), 1));
}

TEST(LayoutFile, ReservedAndStaleBytesSurviveLoadAndSave) {
  TempDir dir;
  const auto image = BusyImage();
  WriteBytes(dir / "cplot.dat", image);
  CardLayout layout;
  ASSERT_TRUE(LoadLayout(layout, dir.path(), 0));
  std::string error;
  ASSERT_TRUE(SaveLayout(layout, dir.path(), 0, &error)) << error;
  EXPECT_EQ(ReadBytes(dir / "cplot.dat"), image);
}

TEST(LayoutFile, SaveReplacesAShortFileWithAWholeOne) {
  TempDir dir;
  WriteBytes(dir / "cplot.dat", std::vector<unsigned char>(399, 'x'));
  CardLayout layout;
  if (!LoadLayout(layout, dir.path(), 0)) MakeDefaultLayout(layout, 0);
  ASSERT_TRUE(SaveLayout(layout, dir.path(), 0));
  auto bytes = ReadBytes(dir / "cplot.dat");
  ASSERT_EQ(bytes.size(), CardLayout::kSize);
  EXPECT_EQ(FromImage(bytes).Body(BodyValue::BodyTop), "1.30");
}

TEST(LayoutFile, SaveIntoMissingFolderReportsWhy) {
  TempDir dir;
  CardLayout layout;
  std::string error;
  EXPECT_FALSE(SaveLayout(layout, dir / "gone", 0, &error));
  EXPECT_NE(error, "");
  EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
}

// Permission bits, a dropped root and a file-size limit are POSIX matters.
#ifndef _WIN32
TEST(LayoutFile, SaveIntoUnwritableFolderKeepsTheOldFile) {
  TempDir dir;
  const auto old_image = BusyImage();
  WriteBytes(dir / "cplot.dat", old_image);
  test::OpenToOthers(dir.path());
  // Nobody may write in the folder: neither the owner nor the unprivileged child.
  std::filesystem::permissions(dir.path(),
                               std::filesystem::perms::owner_write |
                                   std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  test::ChildResult result = test::RunUnprivileged([&dir](std::string& error) {
    CardLayout layout;
    MakeDefaultLayout(layout, 0);
    return SaveLayout(layout, dir.path(), 0, &error);
  });
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.text.find(LoadString(StringId::ReasonNoPermission)), std::string::npos)
      << result.text;
  EXPECT_EQ(ReadBytes(dir / "cplot.dat"), old_image);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// A write that stops half way (here: the file-size limit, as a full disk would) must not leave a
// truncated layout behind. Works for root too.
TEST(LayoutFile, InterruptedSaveKeepsTheOldFile) {
  TempDir dir;
  const auto old_image = BusyImage();
  WriteBytes(dir / "cplot.dat", old_image);
  test::ChildResult result = test::RunWithFileSizeLimit(100, [&dir](std::string& error) {
    CardLayout layout;
    MakeDefaultLayout(layout, 0);
    return SaveLayout(layout, dir.path(), 0, &error);
  });

  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.text, "");
  EXPECT_EQ(ReadBytes(dir / "cplot.dat"), old_image);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
    ++files;
  EXPECT_EQ(files, 1) << "the temporary file is left behind";
}
#endif

TEST(NormalizeLayoutValue, AcceptsAndRewritesIntoNormalForm) {
  struct Case {
    const char* typed;
    const char* normal;
  } cases[] =
      {
          {"", "0.00"},      {"   ", "0.00"},  {" 2 ", "2.00"},    {"\t0.88\n", "0.88"},
          {"7", "7.00"},     {".", "0.00"},    {".5", "0.50"},     {".25", "0.25"},
          {"1.", "1.00"},    {"1.5", "1.50"},  {"125", "1.25"},    {"1234", "1.23"},
          {"99999", "9.99"}, {"12", "1.20"},  // two digits: the second is tenths, like 125
          {"00", "0.00"},    {"1.25", "1.25"}, {"1.234", "1.234"},  // fourth digit ignored later
          {"9.99", "9.99"},
      };
  for (const auto& c : cases) {
    std::string text = c.typed;
    EXPECT_TRUE(NormalizeLayoutValue(text)) << '"' << c.typed << '"';
    EXPECT_EQ(text, c.normal) << '"' << c.typed << '"';
  }
}

TEST(NormalizeLayoutValue, RejectsAndLeavesTheTextAsTyped) {
  const char* cases[] = {"10.5", " 10.5 ", "12.", "1.2.3", "..",  "a.25", "-1",
                         "+1",   "1,5",    "1 5", "0x1",   "1e2", "é",    "1.5\xC2\xA0"};
  for (const char* typed : cases) {
    std::string text = typed;
    EXPECT_FALSE(NormalizeLayoutValue(text)) << '"' << typed << '"';
    EXPECT_EQ(text, typed);
  }
  std::string with_nul("1\0", 2);
  EXPECT_FALSE(NormalizeLayoutValue(with_nul));
}

TEST(LayoutValueToDevice, ConvertsEvenTextsThatNeverPassedTheCheck) {
  struct Case {
    std::string text;
    int units_per_inch;
    int device;
  } cases[] = {
      {"1.25", 600, 750},
      {"0.05", 300, 15},
      {"0.30", 300, 90},
      {"0.01", 150, 1},     // 1.5 dots, truncated
      {"1.5", 600, 630},    // 1 inch and 5 hundredths
      {"1.234", 600, 738},  // 1 inch and 23 hundredths
      {"125", 600, 630},    // third character is the only hundredths digit
      {"7", 600, 4200},     // no hundredths at all
      {"", 600, 0},
      {"abc", 600, 0},
      {"x.50", 600, 300},  // a first character that is no digit counts 0
      {"-1", 600, 0},
      {" 1.25", 600, 0},   // a leading blank shifts every character: ' ' and ".2"
      {"1.-5", 600, 570},  // atoi reads the sign
      {"1. 5", 600, 630},  // and skips a leading blank
      {"1.5x", 600, 630},
      {"12345678", 600, 804},  // a slot without NUL: 1 inch and 34 hundredths
      {"9.99", INT_MAX, INT_MAX},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LayoutValueToDevice(c.text, c.units_per_inch), c.device)
        << '"' << c.text << "\" at " << c.units_per_inch;
  }
}

TEST(LayoutValueHundredths, AgreesWithWhatPrints) {
  struct Case {
    const char* text;
    int hundredths;
  } cases[] = {
      {"1.30", 130},  {"0.50", 50},   {"2.20", 220}, {"0.00", 0}, {"1.5", 105},
      {"1.234", 123}, {"10.25", 100}, {"", 0},       {"abc", 0},  {"-1", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LayoutValueHundredths(c.text), c.hundredths) << c.text;
}

}  // namespace
}  // namespace velunorh
