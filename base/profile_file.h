#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velunorh {

// A private-profile (INI) file held in memory: "[Section]" lines, then "key=value" lines.
//
// Reading follows the Windows profile calls:
//   - section and key names compare without regard to ASCII case, after trimming blanks;
//   - with duplicates, the first section of a name and the first key in it are the ones read
//     (and the ones written); keys before any section and in later duplicate sections are ignored;
//   - a value is the rest of the line after '=', trimmed of blanks, one pair of matching
//     surrounding quotes removed, and cut to 4,095 bytes;
//   - lines starting with ';' are comments; lines that are neither section, key nor comment
//     are kept but mean nothing.
//
// Writing changes only the one line it must: every other byte of the file (comments, garbage,
// duplicate keys, CRLF or LF line ends, a missing final newline) stays as it was. A new key
// goes after the last key of its section, a new section at the end of the file. New lines
// take the line end of the file's first line (LF for a new file).
class ProfileFile {
 public:
  static constexpr std::size_t kMaxTextBytes = 4095;

  ProfileFile() = default;
  explicit ProfileFile(std::string_view text);

  // Larger files than this are refused unless the caller allows more.
  static constexpr std::size_t kDefaultMaxBytes = 8 * 1024 * 1024;

  // Reads the whole file. A missing file gives an empty profile and succeeds. A file that is
  // there but cannot be read, or is larger than `maxBytes`, gives an empty profile and false,
  // so that a caller about to write does not replace a file it could not see.
  bool Load(const std::filesystem::path& file, std::string* error = nullptr,
            std::size_t maxBytes = kDefaultMaxBytes);

  // Replaces `file` atomically with the text. On failure the old file is left whole.
  bool Save(const std::filesystem::path& file, std::string* error = nullptr) const;

  // The value, or `defaultValue` when the section or key is missing. A key that is there with
  // an empty value reads as "".
  std::string ReadText(std::string_view section, std::string_view key,
                       std::string_view defaultValue) const;

  // The value's leading decimal integer (sign allowed, like atoi; no digits = 0), of which only
  // the low 8 bits are kept: 257 reads 1 and -1 reads 255 (value & 0xFF). A missing or empty
  // value gives defaultValue, likewise cut to 8 bits.
  int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;

  // Sets key=value in the section, adding the key or the section when missing. False (and no
  // change) when the names or the value could not be read back as written: a line break
  // anywhere, an empty name, '=' in a key, ']' in a section, a key starting with '[' or ';',
  // or blanks around a name.
  bool WriteText(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInt(std::string_view section, std::string_view key, int value);

  // The whole file as it would be saved.
  std::string Text() const;

 private:
  struct Line {
    std::string content;  // without the line end
    std::string end;      // "\n", "\r\n", or "" for a last line without one
  };
  struct Range {
    std::size_t header;  // index of the section's header line
    std::size_t end;     // one past its last line
  };

  bool FindSection(std::string_view section, Range& range) const;
  bool FindKey(const Range& range, std::string_view key, std::size_t& index) const;
  std::string LineEnd() const;
  void InsertLine(std::size_t at, std::string content);

  std::vector<Line> lines_;
};

// Section and key names as the reader compares them: without regard to ASCII case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// What to write so that ReadText gives `value` back whole: the value itself, or, when its end
// blanks would be trimmed or a pair of quotes around it removed, the value in quotes. Anything
// written bare before reads as it always did.
std::string QuotedProfileValue(std::string_view value);

// A whole profile read or written at once, for files too large to edit line by line.
struct ProfileSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> keys;
};

// What ProfileFile would read from `text`, in file order: the first section of each name and
// the first key of each name in it, values unquoted and cut as ReadText gives them. One pass.
// `linesIgnored` counts the lines that are read as nothing: neither blank, comment, section nor
// key; a key before any section; a section or key repeated, with the keys of a repeated section.
std::vector<ProfileSection> ReadProfileSections(std::string_view text, int* linesIgnored = nullptr);

// The same reading without building the sections: `section` is called for each section read,
// then `key` for each of its keys, with views into `text`. Returns the lines ignored.
int VisitProfileSections(
    std::string_view text, const std::function<void(std::string_view name)>& section,
    const std::function<void(std::string_view key, std::string_view value)>& key);

// One line of a profile as ProfileFile reads it, for a reader that must keep the lines it does
// not use as they were.
struct ProfileLine {
  enum class Kind {
    kBlank,
    kComment,
    kSection,         // the first section of its name
    kKey,             // the first key of its name in such a section
    kIgnoredSection,  // a section repeated
    kIgnoredKey,      // a key repeated, before any section, or in a repeated section
    kOther,           // neither blank, comment, section nor key
  };
  Kind kind = Kind::kOther;
  std::string_view name;   // sections and keys
  std::string_view value;  // keys: as ReadText gives it
  std::string_view text;   // the line without its end (and without a byte-order mark)
};

// Calls `each` for every line of `text`, in order. One pass.
void VisitProfileLines(std::string_view text, const std::function<void(const ProfileLine&)>& each);

// Writes a new profile file section by section onto the end of `text`, as WriteProfileSections
// does, without holding the sections first.
class ProfileWriter {
 public:
  explicit ProfileWriter(std::string& text) : text_(text) {}
  // A section whose name could not be read back is left out, and its keys with it. True when
  // the section is written.
  bool Section(std::string_view name);
  void Key(std::string_view key, std::string_view value);

 private:
  std::string& text_;
  bool writing_ = false;
};

// The sections as a new file ("[name]", then "key=value" lines, a blank line between sections,
// LF line ends), in one pass. ReadProfileSections reads it back to the same sections: a value
// with blanks at either end or in quotes is written in quotes so that they survive, and a name
// or value ProfileFile::WriteText would refuse is left out. Names repeated (in any case) read
// back as their first only, and values longer than ProfileFile::kMaxTextBytes cut.
std::string WriteProfileSections(const std::vector<ProfileSection>& sections);

}  // namespace velunorh
