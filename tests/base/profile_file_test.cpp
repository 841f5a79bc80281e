#include "base/profile_file.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace velunorh {
namespace {

// A hand-edited file: byte-order mark, comment, a key outside any section, CRLF line ends,
// garbage, duplicate keys, a duplicate section, an unclosed header and no final newline.
const std::string kMessyFile =
    "\xEF\xBB\xBF; written by hand\r\n"
    "orphan=9\r\n"
    "[Format]\r\n"
    "garbage line without equals\r\n"
    "Alt Date Format=2\r\n"
    "alt date format=3\r\n"
    "  Last Name First =  257  \r\n"
    "Card Version=-1\r\n"
    "Empty=\r\n"
    "Quoted=\"0.50\"\r\n"
    "Word=abc\r\n"
    "\r\n"
    "; the margins follow\r\n"
    "[Format]\r\n"
    "Hidden=5\r\n"
    "[Broken\r\n"
    "[ margins ]\r\n"
    "Top=1.25\r\n"
    "Left=0.30";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(ProfileFile, ReadsLikeTheWindowsProfileCalls) {
  const ProfileFile profile(kMessyFile);
  struct Case {
    const char* section;
    const char* key;
    const char* expected;  // ReadText with default "default"
  } cases[] = {
      {"Format", "Alt Date Format", "2"},    // the first of two duplicates
      {"FORMAT", "last name first", "257"},  // case and blanks around names and value
      {"Format", "Card Version", "-1"},      // the first section of a name wins
      {"Format", "Empty", ""},               // present but empty is not missing
      {"Format", "Quoted", "0.50"},          // surrounding quotes removed
      {"Format", "Hidden", "default"},       // only in the duplicate section
      {"Format", "garbage line without equals", "default"},
      {"Format", "orphan", "default"},  // before any section
      {"Format", "Broken", "default"},  // an unclosed header is garbage
      {"Margins", "Top", "1.25"},       // blanks inside the brackets
      {"Margins", "Left", "0.30"},      // last line without newline
      {"Missing", "Top", "default"},
      {"; written by hand", "orphan", "default"},  // a comment is no section
  };
  for (const Case& c : cases) {
    EXPECT_EQ(profile.ReadText(c.section, c.key, "default"), c.expected)
        << c.section << "/" << c.key;
  }
}

TEST(ProfileFile, IntegersKeepTheLowEightBitsOfTheLeadingNumber) {
  struct Case {
    const char* stored;
    int expected;
  } cases[] = {{"0", 0},    {"1", 1},    {"255", 255}, {"256", 0},          {"257", 1},
               {"-1", 255}, {"-256", 0}, {"+7", 7},    {"12abc", 12},       {"abc", 0},
               {" 3 ", 3},  {"1.9", 1},  {"\"4\"", 4}, {"99999999999", 255}};
  for (const Case& c : cases) {
    const ProfileFile profile("[S]\nK=" + std::string(c.stored) + "\n");
    EXPECT_EQ(profile.ReadInt("S", "K", 42), c.expected) << c.stored;
  }
  const ProfileFile profile("[S]\nEmpty=\n");
  EXPECT_EQ(profile.ReadInt("S", "Empty", 42), 42);
  EXPECT_EQ(profile.ReadInt("S", "Missing", 42), 42);
  EXPECT_EQ(profile.ReadInt("Missing", "K", 257), 1);
}

TEST(ProfileFile, LongTextsAreCutTo4095BytesOnACharacterBoundary) {
  const std::string ascii(5000, 'x');
  EXPECT_EQ(ProfileFile("[S]\nK=" + ascii).ReadText("S", "K", ""), std::string(4095, 'x'));

  // A two-byte character that would straddle the limit is dropped whole.
  const std::string straddling = std::string(4094, 'x') + "\xC3\xA9" + "tail";
  EXPECT_EQ(ProfileFile("[S]\nK=" + straddling).ReadText("S", "K", ""), std::string(4094, 'x'));
}

TEST(ProfileFile, WritingChangesOnlyTheLineItMust) {
  struct Case {
    const char* what;
    const char* section;
    const char* key;
    const char* value;
    std::string expected;
  } cases[] = {
      {"first duplicate replaced, key spelling kept", "format", "ALT DATE FORMAT", "0",
       Replaced(kMessyFile, "Alt Date Format=2\r\n", "Alt Date Format=0\r\n")},
      {"blanks before the value kept", "Format", "Last Name First", "1",
       Replaced(kMessyFile, "  Last Name First =  257  \r\n", "  Last Name First =  1\r\n")},
      {"value in the first section of a name", "Format", "Card Version", "1",
       Replaced(kMessyFile, "Card Version=-1\r\n", "Card Version=1\r\n")},
      {"new key after the section's last key, before its trailing comment", "Format", "New Key",
       "x", Replaced(kMessyFile, "Word=abc\r\n", "Word=abc\r\nNew Key=x\r\n")},
      {"new key at an end without newline", "Margins", "Right", "0.10",
       kMessyFile + "\r\nRight=0.10\r\n"},
      {"new section at the end, set off by a blank line", "Data Location", "Drive", "1",
       kMessyFile + "\r\n\r\n[Data Location]\r\nDrive=1\r\n"},
      {"empty value", "Margins", "Top", "", Replaced(kMessyFile, "Top=1.25\r\n", "Top=\r\n")},
  };
  for (const Case& c : cases) {
    ProfileFile profile(kMessyFile);
    ASSERT_TRUE(profile.WriteText(c.section, c.key, c.value)) << c.what;
    EXPECT_EQ(profile.Text(), c.expected) << c.what;
  }
}

TEST(ProfileFile, WritingTheSameValueAgainChangesNothing) {
  for (const char* value : {"1", " 1", "\t1 ", ""}) {
    ProfileFile profile("[S]\nK =  0\n");
    ASSERT_TRUE(profile.WriteText("S", "K", value));
    const std::string once = profile.Text();
    ASSERT_TRUE(profile.WriteText("S", "K", value));
    EXPECT_EQ(profile.Text(), once) << '"' << value << '"';
  }
}

TEST(ProfileFile, NewLinesFollowTheFilesLineEnds) {
  struct Case {
    std::string before;
    std::string after;  // after writing A/New=1
  } cases[] = {
      {"", "[A]\nNew=1\n"},
      {"[A]\nOld=0\n", "[A]\nOld=0\nNew=1\n"},
      {"[B]\nx=0\n", "[B]\nx=0\n\n[A]\nNew=1\n"},
      {"[B]\nx=0\n\n", "[B]\nx=0\n\n[A]\nNew=1\n"},  // no second blank line
      {"[A]\r\n; about A\r\n\r\n[B]\r\n", "[A]\r\nNew=1\r\n; about A\r\n\r\n[B]\r\n"},
      {"[A]", "[A]\nNew=1\n"},
  };
  for (const Case& c : cases) {
    ProfileFile profile(c.before);
    ASSERT_TRUE(profile.WriteText("A", "New", "1"));
    EXPECT_EQ(profile.Text(), c.after) << c.before;
  }
}

TEST(ProfileFile, RefusesWhatWouldNotReadBackAsWritten) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"Margins", "Top", "0.50\n[Format]"},
      {"Margins", "Top", "0.50\r"},
      {"Margins", "A=B", "1"},
      {"Margins", "", "1"},
      {"Margins", ";Top", "1"},
      {"Margins", "[Top", "1"},
      {"Margins", " Top", "1"},
      {"Mar]gins", "Top", "1"},
      {"", "Top", "1"},
      {"Mar\ngins", "Top", "1"},
  };
  for (const Case& c : cases) {
    ProfileFile profile(kMessyFile);
    EXPECT_FALSE(profile.WriteText(c.section, c.key, c.value)) << c.section << "/" << c.key;
    EXPECT_EQ(profile.Text(), kMessyFile);
  }
}

TEST(ProfileFile, KeysWithBlanksAreWrittenAsTheyAre) {
  ProfileFile profile;
  ASSERT_TRUE(profile.WriteInt("Format", "Alt Date Format", 3));
  EXPECT_EQ(profile.Text(), "[Format]\nAlt Date Format=3\n");
  EXPECT_EQ(profile.ReadInt("Format", "Alt Date Format", 0), 3);
}

TEST(ProfileFile, LoadsAndSavesWholeFiles) {
  test::TempDir dir;
  ProfileFile profile;
  std::string error;

  EXPECT_TRUE(profile.Load(dir / "missing.INI", &error));
  EXPECT_EQ(profile.Text(), "");

  test::WriteText(dir / "v.INI", kMessyFile);
  ASSERT_TRUE(profile.Load(dir / "v.INI", &error));
  EXPECT_EQ(profile.Text(), kMessyFile);
  ASSERT_TRUE(profile.WriteText("Margins", "Top", "0.75"));
  ASSERT_TRUE(profile.Save(dir / "v.INI", &error)) << error;
  EXPECT_EQ(test::ReadText(dir / "v.INI"), Replaced(kMessyFile, "Top=1.25", "Top=0.75"));
}

TEST(ProfileFile, ANonFileInTheWayIsAnErrorNotAnEmptyProfile) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "v.INI");
  ProfileFile profile("[A]\nx=1\n");
  std::string error;
  EXPECT_FALSE(profile.Load(dir / "v.INI", &error));
  EXPECT_NE(error.find("v.INI"), std::string::npos) << error;
  EXPECT_EQ(profile.Text(), "");
}

TEST(ProfileFile, AFailedSaveLeavesNothingBehind) {
  test::TempDir dir;
  ProfileFile profile("[A]\nx=1\n");
  std::string error;

  EXPECT_FALSE(profile.Save(dir / "no such folder" / "v.INI", &error));
  EXPECT_FALSE(error.empty());

  // The rename fails at the very end: the temporary file must still go.
  std::filesystem::create_directory(dir / "v.INI");
  test::WriteText(dir / "v.INI" / "inside", "kept");
  error.clear();
  EXPECT_FALSE(profile.Save(dir / "v.INI", &error));
  EXPECT_NE(error.find("v.INI"), std::string::npos) << error;
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename(), "v.INI");
    ++entries;
  }
  EXPECT_EQ(entries, 1);
  EXPECT_EQ(test::ReadText(dir / "v.INI" / "inside"), "kept");
}

TEST(ProfileSections, ReadWhatProfileFileReads) {
  int ignored = -1;
  const std::vector<ProfileSection> sections = ReadProfileSections(kMessyFile, &ignored);
  // The orphan key, the garbage line, the repeated key, the repeated section with its key and
  // the unclosed section: read as nothing, and counted.
  EXPECT_EQ(ignored, 6);
  const std::vector<ProfileSection> expected = {
      {"Format",
       {{"Alt Date Format", "2"},
        {"Last Name First", "257"},
        {"Card Version", "-1"},
        {"Empty", ""},
        {"Quoted", "0.50"},
        {"Word", "abc"}}},
      {"margins", {{"Top", "1.25"}, {"Left", "0.30"}}},
  };
  ASSERT_EQ(sections.size(), expected.size());
  const ProfileFile profile(kMessyFile);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(sections[i].name, expected[i].name);
    EXPECT_EQ(sections[i].keys, expected[i].keys) << expected[i].name;
    for (const auto& [key, value] : sections[i].keys) {
      EXPECT_EQ(profile.ReadText(sections[i].name, key, "default"), value) << key;
    }
  }
  const std::string straddling = std::string(4094, 'x') + "\xC3\xA9";
  EXPECT_EQ(ReadProfileSections("[S]\nK=" + straddling)[0].keys[0].second, std::string(4094, 'x'));
}

TEST(ProfileSections, WrittenSectionsReadBackTheSame) {
  const std::vector<ProfileSection> sections = {
      {"2024 id:7", {{"header", "2024-10-01 12:00 abc"}, {"row 1", "x"}, {"Empty", ""}}},
      {"Árvíztűrő", {{"kulcs", "érték"}}},
      {"No Keys", {}},
      {"Odd Values",
       {{"leading", "  a"},
        {"trailing", "b\t"},
        {"quoted", "\"q\""},
        {"single quoted", "'s'"},
        {"one quote", "\""},
        {"inner", "a \"b\" c"},
        {"only blanks", "   "}}},
  };
  const std::string text = WriteProfileSections(sections);
  const std::vector<ProfileSection> again = ReadProfileSections(text);
  ASSERT_EQ(again.size(), sections.size()) << text;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    EXPECT_EQ(again[i].name, sections[i].name);
    EXPECT_EQ(again[i].keys, sections[i].keys) << text;
  }
  // The plain cases look as ProfileFile would write them.
  EXPECT_TRUE(text.starts_with("[2024 id:7]\nheader=2024-10-01 12:00 abc\nrow 1=x\nEmpty=\n\n["))
      << text;
}

TEST(ProfileSections, WhatCouldNotReadBackIsLeftOut) {
  const std::vector<ProfileSection> sections = {
      {"Bad]Section", {{"k", "1"}}},
      {"Good",
       {{"line\nbreak", "1"},
        {"k", "two\nlines"},
        {"=k", "1"},
        {";k", "1"},
        {"[k", "1"},
        {" k", "1"},
        {"", "1"},
        {"kept", "1"}}},
      {"", {{"k", "1"}}},
  };
  EXPECT_EQ(WriteProfileSections(sections), "[Good]\nkept=1\n");
}

}  // namespace
}  // namespace velunorh
