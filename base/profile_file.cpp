#include "base/profile_file.h"

#include "base/atomic_file.h"
#include "base/platform.h"
#include "base/string_table.h"
#include "base/text_number.h"
#include "base/whole_file.h"

#include <unordered_set>

namespace velunorh {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

// What a line means. Offsets are into the line as stored (a byte-order mark included).
struct ParsedLine {
  // kOther: a line that is neither blank, a comment, a section nor a key.
  enum class Kind { kBlankOrComment, kOther, kSection, kKey } kind = Kind::kOther;
  std::string_view name;
  std::string_view value;      // keys only, trimmed
  std::size_t valueStart = 0;  // keys only: where the value begins after '=' and blanks
};

ParsedLine ParseLine(std::string_view content, bool firstLine) {
  ParsedLine parsed;
  std::size_t start = firstLine && content.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  while (start < content.size() && IsBlank(content[start])) ++start;
  if (start == content.size() || content[start] == ';') {
    parsed.kind = ParsedLine::Kind::kBlankOrComment;
    return parsed;
  }

  if (content[start] == '[') {
    std::size_t close = content.find(']', start + 1);
    if (close == std::string_view::npos) return parsed;
    parsed.kind = ParsedLine::Kind::kSection;
    parsed.name = Trim(content.substr(start + 1, close - start - 1));
    return parsed;
  }

  std::size_t equals = content.find('=', start);
  if (equals == std::string_view::npos) return parsed;
  std::string_view name = Trim(content.substr(start, equals - start));
  if (name.empty()) return parsed;
  parsed.kind = ParsedLine::Kind::kKey;
  parsed.name = name;
  parsed.valueStart = equals + 1;
  while (parsed.valueStart < content.size() && IsBlank(content[parsed.valueStart])) {
    ++parsed.valueStart;
  }
  parsed.value = Trim(content.substr(parsed.valueStart));
  return parsed;
}

std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// At most `limit` bytes, never ending inside a UTF-8 sequence.
std::string_view CutToBytes(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

// A key's value as read: one pair of quotes removed, cut to the longest value kept.
std::string_view ValueText(const ParsedLine& parsed) {
  return CutToBytes(WithoutQuotes(parsed.value), ProfileFile::kMaxTextBytes);
}

// Calls `each(content, end)` for every line of `text`: the line without its end, and the end
// ("\n", "\r\n", or "" for a last line without one).
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
  while (!text.empty()) {
    std::size_t newline = text.find('\n');
    if (newline == std::string_view::npos) {
      each(text, std::string_view());
      return;
    }
    std::string_view content = text.substr(0, newline);
    std::string_view end = "\n";
    text.remove_prefix(newline + 1);
    if (!content.empty() && content.back() == '\r') {
      content.remove_suffix(1);
      end = "\r\n";
    }
    each(content, end);
  }
}

// Whether a value written bare would read back different: blanks at its ends are trimmed and
// a pair of quotes around it removed.
bool NeedsQuotes(std::string_view value) {
  return !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                            WithoutQuotes(value).size() != value.size());
}

bool IsWritableSection(std::string_view name) {
  return !name.empty() && Trim(name) == name && !HasLineBreak(name) &&
         name.find(']') == std::string_view::npos;
}

bool IsWritableKey(std::string_view name) {
  return !name.empty() && Trim(name) == name && !HasLineBreak(name) &&
         name.find('=') == std::string_view::npos && name.front() != '[' && name.front() != ';';
}

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

ProfileFile::ProfileFile(std::string_view text) {
  ForEachLine(text, [this](std::string_view content, std::string_view end) {
    lines_.push_back(Line{std::string(content), std::string(end)});
  });
}

bool ProfileFile::Load(const std::filesystem::path& file, std::string* error,
                       std::size_t maxBytes) {
  lines_.clear();
  WholeFile whole = ReadFileUpTo(file, maxBytes);
  switch (whole.status) {
    case WholeFile::Status::kMissing:
      return true;
    case WholeFile::Status::kRead:
      *this = ProfileFile(whole.bytes);
      return true;
    default:
      // Reads as no file; refused, so that a save does not put a file in the place of one it
      // could not see.
      return Fail(error, whole.error);
  }
}

bool ProfileFile::Save(const std::filesystem::path& file, std::string* error) const {
  return WriteFileAtomically(file, Text(), error);
}

std::string ProfileFile::ReadText(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
  Range range;
  std::size_t index = 0;
  if (!FindSection(section, range) || !FindKey(range, key, index)) return std::string(defaultValue);
  return std::string(ValueText(ParseLine(lines_[index].content, index == 0)));
}

int ProfileFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
  std::string text = ReadText(section, key, "");
  int value = text.empty() ? defaultValue : LeadingInteger(text);
  return value & 0xFF;
}

bool ProfileFile::WriteText(std::string_view section, std::string_view key,
                            std::string_view value) {
  if (!IsWritableSection(section) || !IsWritableKey(key) || HasLineBreak(value)) return false;
  std::string keyLine = std::string(key) + "=" + std::string(value);

  Range range;
  if (!FindSection(section, range)) {
    // A blank line sets the new section off from the one before.
    if (!lines_.empty() && !Trim(lines_.back().content).empty()) InsertLine(lines_.size(), "");
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), keyLine);
    return true;
  }

  std::size_t index = 0;
  if (FindKey(range, key, index)) {
    std::string& content = lines_[index].content;
    std::size_t keep = ParseLine(content, index == 0).valueStart;
    // A value that brings its own leading blanks replaces those after '=': kept, they would
    // add up with every write of the same value.
    if (!value.empty() && IsBlank(value.front())) {
      while (keep > 0 && content[keep - 1] != '=') --keep;
    }
    content = content.substr(0, keep) + std::string(value);
    return true;
  }

  // After the section's last key, so that blank lines and comments leading into the next
  // section stay with it.
  std::size_t after = range.header;
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    if (ParseLine(lines_[i].content, i == 0).kind == ParsedLine::Kind::kKey) after = i;
  }
  InsertLine(after + 1, keyLine);
  return true;
}

bool ProfileFile::WriteInt(std::string_view section, std::string_view key, int value) {
  return WriteText(section, key, std::to_string(value));
}

std::string ProfileFile::Text() const {
  std::size_t size = 0;
  for (const Line& line : lines_) size += line.content.size() + line.end.size();
  std::string text;
  text.reserve(size);
  for (const Line& line : lines_) {
    text += line.content;
    text += line.end;
  }
  return text;
}

bool ProfileFile::FindSection(std::string_view section, Range& range) const {
  std::string_view wanted = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    ParsedLine parsed = ParseLine(lines_[i].content, i == 0);
    if (parsed.kind != ParsedLine::Kind::kSection || !EqualsIgnoringCase(parsed.name, wanted)) {
      continue;
    }
    range.header = i;
    range.end = i + 1;
    while (range.end < lines_.size() &&
           ParseLine(lines_[range.end].content, false).kind != ParsedLine::Kind::kSection) {
      ++range.end;
    }
    return true;
  }
  return false;
}

bool ProfileFile::FindKey(const Range& range, std::string_view key, std::size_t& index) const {
  std::string_view wanted = Trim(key);
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    ParsedLine parsed = ParseLine(lines_[i].content, false);
    if (parsed.kind == ParsedLine::Kind::kKey && EqualsIgnoringCase(parsed.name, wanted)) {
      index = i;
      return true;
    }
  }
  return false;
}

std::string ProfileFile::LineEnd() const {
  for (const Line& line : lines_) {
    if (!line.end.empty()) return line.end;
  }
  return "\n";
}

void ProfileFile::InsertLine(std::size_t at, std::string content) {
  std::string end = LineEnd();
  if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = end;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(content), end});
}

namespace {

// Section and key names compare without regard to ASCII case; held as views into the text.
struct CaseBlindHash {
  std::size_t operator()(std::string_view name) const {
    std::size_t hash = 0xcbf29ce484222325ULL;
    for (char c : name)
      hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 0x100000001b3ULL;
    return hash;
  }
};
struct CaseBlindEqual {
  bool operator()(std::string_view a, std::string_view b) const { return EqualsIgnoringCase(a, b); }
};
using NameSet = std::unordered_set<std::string_view, CaseBlindHash, CaseBlindEqual>;

}  // namespace

void VisitProfileLines(std::string_view text, const std::function<void(const ProfileLine&)>& each) {
  NameSet sectionNames;
  NameSet keyNames;      // of the section being read
  bool reading = false;  // false before the first section and in a repeated one
  bool firstLine = true;
  ForEachLine(text, [&](std::string_view content, std::string_view) {
    ParsedLine parsed = ParseLine(content, firstLine);
    if (firstLine && content.starts_with(kUtf8Bom)) content.remove_prefix(kUtf8Bom.size());
    firstLine = false;
    ProfileLine line;
    line.text = content;
    line.name = parsed.name;
    switch (parsed.kind) {
      case ParsedLine::Kind::kBlankOrComment:
        line.kind = Trim(content).empty() ? ProfileLine::Kind::kBlank : ProfileLine::Kind::kComment;
        break;
      case ParsedLine::Kind::kOther:
        line.kind = ProfileLine::Kind::kOther;
        break;
      case ParsedLine::Kind::kSection:
        reading = sectionNames.insert(parsed.name).second;
        if (reading) keyNames.clear();
        line.kind = reading ? ProfileLine::Kind::kSection : ProfileLine::Kind::kIgnoredSection;
        break;
      case ParsedLine::Kind::kKey:
        line.value = ValueText(parsed);
        line.kind = reading && keyNames.insert(parsed.name).second ? ProfileLine::Kind::kKey
                                                                   : ProfileLine::Kind::kIgnoredKey;
        break;
    }
    each(line);
  });
}

int VisitProfileSections(
    std::string_view text, const std::function<void(std::string_view name)>& section,
    const std::function<void(std::string_view key, std::string_view value)>& key) {
  int ignored = 0;
  VisitProfileLines(text, [&](const ProfileLine& line) {
    switch (line.kind) {
      case ProfileLine::Kind::kBlank:
      case ProfileLine::Kind::kComment:
        return;
      case ProfileLine::Kind::kSection:
        section(line.name);
        return;
      case ProfileLine::Kind::kKey:
        key(line.name, line.value);
        return;
      default:
        ++ignored;
    }
  });
  return ignored;
}

std::vector<ProfileSection> ReadProfileSections(std::string_view text, int* linesIgnored) {
  std::vector<ProfileSection> sections;
  const int ignored = VisitProfileSections(
      text,
      [&](std::string_view name) {
        sections.push_back({std::string(name), {}});
      },
      [&](std::string_view key, std::string_view value) {
        sections.back().keys.emplace_back(std::string(key), std::string(value));
      });
  if (linesIgnored) *linesIgnored = ignored;
  return sections;
}

std::string QuotedProfileValue(std::string_view value) {
  return NeedsQuotes(value) ? "\"" + std::string(value) + "\"" : std::string(value);
}

bool ProfileWriter::Section(std::string_view name) {
  writing_ = IsWritableSection(name);
  if (!writing_) return false;
  // A blank line sets a section off from what comes before it.
  if (!text_.empty()) text_ += '\n';
  text_ += '[';
  text_ += name;
  text_ += "]\n";
  return true;
}

void ProfileWriter::Key(std::string_view key, std::string_view value) {
  if (!writing_ || !IsWritableKey(key) || HasLineBreak(value)) return;
  text_ += key;
  text_ += '=';
  text_ += QuotedProfileValue(value);
  text_ += '\n';
}

std::string WriteProfileSections(const std::vector<ProfileSection>& sections) {
  std::size_t size = 0;
  for (const ProfileSection& section : sections) {
    size += section.name.size() + 4;
    for (const auto& [key, value] : section.keys) size += key.size() + value.size() + 4;
  }
  std::string text;
  text.reserve(size);
  ProfileWriter writer(text);
  for (const ProfileSection& section : sections) {
    writer.Section(section.name);
    for (const auto& [key, value] : section.keys) writer.Key(key, value);
  }
  return text;
}

}  // namespace velunorh
